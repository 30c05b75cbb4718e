// Arrow heads, direction arrows, arcs, row numbers and imported path steps on a recording canvas.
#include <gtest/gtest.h>

#include "TraceLogFolder.h"
#include "panel/DrawHelpers.h"
#include "panel/ImportPath.h"
#include "panel/PanelDrawing.h"
#include "support/RecordingCanvas.h"

namespace {

using testsupport::CanvasOp;
using testsupport::RecordingCanvas;

TEST(DrawHelpers, AnArrowHeadPointsTowardsItsTargetAndKeepsThePen) {
  RecordingCanvas canvas;
  canvas.setPen(platform::Pen{0xFF0000, 1, platform::PenStyle::Dot});
  canvas.setBrush(platform::Brush{0x00FF00, platform::BrushStyle::Clear});
  canvas.moveTo(7, 8);
  panel::PfeilspitzeZeichnen(canvas, 100, 100, 200, 100);  // pointing right
  const auto polys = canvas.opsOf(CanvasOp::Kind::Polygon);
  ASSERT_EQ(polys.size(), 1u);
  EXPECT_EQ(polys[0].points, (std::vector<platform::Point>{{100, 100}, {100, 104}, {112, 100}, {100, 96}, {100, 100}}));
  EXPECT_EQ(polys[0].pen.style, platform::PenStyle::Solid);
  EXPECT_EQ(polys[0].brush.colour, 0xFF0000u);
  EXPECT_EQ(canvas.penPos(), (platform::Point{7, 8}));
  EXPECT_EQ(canvas.pen().style, platform::PenStyle::Dot);
  EXPECT_EQ(canvas.brush().style, platform::BrushStyle::Clear);
  EXPECT_EQ(canvas.brush().colour, 0xFF0000u);
}

TEST(DrawHelpers, AnArrowHeadUpTheScreenPointsUp) {
  RecordingCanvas canvas;
  panel::PfeilspitzeZeichnen(canvas, 50, 50, 50, 10);
  const auto polys = canvas.opsOf(CanvasOp::Kind::Polygon);
  ASSERT_EQ(polys.size(), 1u);
  EXPECT_EQ(polys[0].points[2], (platform::Point{50, 38}));
}

TEST(DrawHelpers, ADirectionArrowOnACircleOfRadiusZeroStillHasADirection) {
  RecordingCanvas canvas;
  panel::RichtungspfeilZeichnen(canvas, 50, 50, 0, 0.0, true);
  ASSERT_EQ(canvas.opsOf(CanvasOp::Kind::Polygon).size(), 1u);
  // Radius 0: the arrow starts at the centre; with 90 degrees clockwise it points down.
  EXPECT_EQ(canvas.opsOf(CanvasOp::Kind::Polygon)[0].points[0], (platform::Point{50, 50}));
}

TEST(DrawHelpers, AClockwiseArcIsDrawnFromItsEndAndThePenEndsAtTheEndAngle) {
  RecordingCanvas canvas;
  panel::DrawBogen(canvas, true, 100, 100, 10, 90.0, 0.0, 0xFFFFFF, platform::BrushStyle::Clear, 0x0000FF,
                   platform::PenStyle::Solid);
  const auto arcs = canvas.opsOf(CanvasOp::Kind::Arc);
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_EQ(arcs[0].args, (std::vector<int>{90, 90, 110, 110, 110, 100, 100, 90}));
  EXPECT_EQ(arcs[0].pen.colour, 0x0000FFu);
  EXPECT_EQ(canvas.penPos(), (platform::Point{110, 100}));
  EXPECT_EQ(canvas.pen().colour, 0x000000u);  // restored
}

class RowNumbers : public paneltest::TraceLogFolder {};

TEST_F(RowNumbers, TheNumberOfTheRowHitLastIsShiftedRight) {
  panel::TMainFormState form;
  form.iTrefferZeile = 3;
  RecordingCanvas canvas;
  panel::ObjectTypeTable types;
  panel::DrawContext context{form, canvas, types};
  canvas.moveTo(1, 2);
  panel::NummerZeichnen(context, 100, 50, 2);
  panel::NummerZeichnen(context, 100, 50, 3);
  const auto ellipses = canvas.opsOf(CanvasOp::Kind::Ellipse);
  ASSERT_EQ(ellipses.size(), 2u);
  const int r = canvas.textExtent("999").width / 2;
  EXPECT_EQ(ellipses[0].args, (std::vector<int>{100 - r, 50 - r, 100 + r, 50 + r}));
  EXPECT_EQ(ellipses[1].args, (std::vector<int>{118 - r, 50 - r, 118 + r, 50 + r}));
  const auto texts = canvas.opsOf(CanvasOp::Kind::TextOut);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1].text, "3");
  EXPECT_EQ(texts[1].font.colour, 0xFF0000u);
  EXPECT_EQ(canvas.penPos(), (platform::Point{1, 2}));
}

struct ImportCase {
  const char* command;
  bool leerfahrten;
  bool fraeswege;
  bool live;
  CanvasOp::Kind kind;  // MoveTo or LineTo; SetBrush when nothing is drawn
  platform::Colour colour;
  int copies;
};

class ImportSteps : public ::testing::TestWithParam<ImportCase> {};

TEST_P(ImportSteps, DrawTravelAndCutWordsBySwitchesAndLiveFlag) {
  const ImportCase& c = GetParam();
  panel::TMainFormState form;
  form.DrawLeerfahrten = c.leerfahrten;
  form.DrawFraeswege = c.fraeswege;
  RecordingCanvas canvas;
  panel::ObjectTypeTable types;
  int copies = 0;
  panel::DrawContext context{form, canvas, types, [&] { ++copies; }};
  panel::PanelAnsicht view;
  view.x0 = 10;
  view.y0 = 100;
  view.dMassstab = 2.0;
  view.liveDrawing = c.live;
  panel::ImportPfadZeichnen(context, view, c.command, 3.0, 4.0);
  const CanvasOp& last = canvas.ops().back();
  EXPECT_EQ(last.kind, c.kind);
  if (c.kind != CanvasOp::Kind::SetBrush) {
    EXPECT_EQ(last.args, (std::vector<int>{16, 92}));
    EXPECT_EQ(last.pen.colour, c.colour);
  }
  EXPECT_EQ(copies, c.copies);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImportSteps,
    ::testing::Values(ImportCase{"MOVETO", true, false, false, CanvasOp::Kind::LineTo, 0x20FF20, 0},
                      ImportCase{"GOO", false, false, false, CanvasOp::Kind::MoveTo, 0x20FF20, 0},
                      ImportCase{"LINETO", false, true, false, CanvasOp::Kind::LineTo, 0xFF0000, 0},
                      ImportCase{"GO1", false, false, false, CanvasOp::Kind::LineTo, 0x000000, 0},
                      ImportCase{"GO1", false, false, true, CanvasOp::Kind::LineTo, 0xFF0000, 1},
                      ImportCase{"M30", true, true, false, CanvasOp::Kind::SetBrush, 0, 0}));

}  // namespace
