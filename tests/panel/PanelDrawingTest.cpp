// The panel drawing: layout for several bitmap and panel sizes, what an empty document draws,
// the copies of multi-up production, the extent box, the rubber band, the redraw dispatch, and
// pixels that stay within their limit however large the document's values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>

#include "TestPointType.h"
#include "TraceLogFolder.h"
#include "panel/DocumentFile.h"
#include "panel/ObjectTypes.h"
#include "panel/PanelDrawing.h"
#include "support/Fixtures.h"
#include "support/RecordingCanvas.h"
#include "support/ScriptedUi.h"

namespace {

using panel::KonturTyp;
using paneltest::TestPointType;
using testsupport::CanvasOp;
using testsupport::RecordingCanvas;

// The recording canvas measures text as 6 px per character at size 8, so "999.99" is 36 px and
// ".99" 18 px wide; the font height of size 8 is -11 px.
struct LayoutCase {
  int bitmapWidth;
  int bitmapHeight;
  double panelWidth;
  double panelHeight;
  int x0;
  int y0;
  int width;
  int height;
  double scale;
  friend std::ostream& operator<<(std::ostream& os, const LayoutCase& c) {
    return os << c.bitmapWidth << "x" << c.bitmapHeight << " " << c.panelWidth << "x" << c.panelHeight;
  }
};

class Layout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(Layout, PlacesTheOriginAndScalesThePanelIntoTheBitmap) {
  const LayoutCase& c = GetParam();
  RecordingCanvas canvas({c.bitmapWidth, c.bitmapHeight});
  panel::PanelAnsicht view;
  view.xMax = c.panelWidth;
  view.yMax = c.panelHeight;
  panel::PanelLayoutBerechnen(view, canvas);
  EXPECT_EQ(view.x0, c.x0);
  EXPECT_EQ(view.y0, c.y0);
  EXPECT_EQ(view.width, c.width);
  EXPECT_EQ(view.height, c.height);
  EXPECT_NEAR(view.dMassstab, c.scale, 1e-9);
  EXPECT_EQ(canvas.font().name, "Courier New");
  EXPECT_EQ(canvas.font().size, 8);
}

INSTANTIATE_TEST_SUITE_P(Sizes, Layout,
                         ::testing::Values(LayoutCase{800, 600, 50.0, 50.0, 46, 568, 726, 558, 558.0 / 50.0 - 0.1},
                                           LayoutCase{800, 600, 200.0, 20.0, 46, 568, 726, 558, 726.0 / 200.0 - 0.1},
                                           LayoutCase{800, 600, 0.0, 0.0, 46, 568, 726, 558, 0.9},
                                           LayoutCase{0, 0, 50.0, 50.0, 46, -32, -74, -42, panel::kMinimumMassstab},
                                           LayoutCase{800, 600, -50.0, 50.0, 46, 568, 726, 558,
                                                      panel::kMinimumMassstab}));

class PanelDrawing : public paneltest::TraceLogFolder {
 protected:
  PanelDrawing() {
    TestPointType::log = &log_;
    types_[KonturTyp::Punkt] = panel::makeObjectTypeEntry<TestPointType>();
    form_.Dokumenttyp = panel::DocumentKind::Panel;
  }
  ~PanelDrawing() override { TestPointType::log = nullptr; }

  void draw() {
    panel::DrawContext context{form_, canvas_, types_, [this] { ++screenCopies_; }};
    panel::DrawTVXFormat(context);
  }

  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& op : canvas_.opsOf(CanvasOp::Kind::TextOut)) out.push_back(op.text);
    return out;
  }

  std::vector<std::string> log_;
  panel::TMainFormState form_;
  panel::ObjectTypeTable types_;
  RecordingCanvas canvas_{{800, 600}};
  int screenCopies_ = 0;
};

TEST_F(PanelDrawing, AnEmptyDocumentDrawsBackgroundRulersAndOrigin) {
  draw();
  const auto& view = form_.Ansicht;
  EXPECT_NEAR(view.dMassstab, 11.06, 1e-9);
  EXPECT_EQ(view.width, 553);
  EXPECT_EQ(view.height, 553);

  const auto rects = canvas_.opsOf(CanvasOp::Kind::Rectangle);
  ASSERT_FALSE(rects.empty());
  EXPECT_EQ(rects.front().args, (std::vector<int>{0, 0, 800, 600}));
  EXPECT_EQ(rects.front().brush.colour, 0x808080u);
  const auto fills = canvas_.opsOf(CanvasOp::Kind::FillRect);
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills.front().args, (std::vector<int>{46, 568 - 553, 46 + 553, 568}));
  EXPECT_EQ(fills.front().brush.colour, 0xFFFFFFu);

  EXPECT_EQ(texts(), (std::vector<std::string>{"0", "50.00", "25.00", "0", "50.00", "25.00"}));
  const auto ellipses = canvas_.opsOf(CanvasOp::Kind::Ellipse);
  ASSERT_EQ(ellipses.size(), 1u);
  EXPECT_EQ(ellipses.front().args, (std::vector<int>{37, 559, 55, 577}));
  EXPECT_EQ(ellipses.front().pen.colour, 0x0000FFu);
  EXPECT_EQ(canvas_.penPos(), (platform::Point{46, 568}));

  EXPECT_EQ(screenCopies_, 1);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.xMax, 3.0);  // the cutter diameter added to an empty extent
  EXPECT_DOUBLE_EQ(form_.AusdehnungEinzeln.yMax, 3.0);
  EXPECT_EQ(traceLines(), (std::vector<std::string>{"DrawTVXFormat()", "DrawTVXFormat() :: End"}));
}

TEST_F(PanelDrawing, CopiesAreDrawnUnselectedWithoutNumbersAndTheShiftIsReset) {
  panel::appendObjectRow(form_, "PUNKT", {{1, "5.00"}, {2, "5.00"}, {3, "-1.00"}});
  form_.MenuNutzenfertigung.Checked = true;
  form_.Nutzenfertigung = {20.0, 30.0, 2, 2};
  form_.DrawNummer = true;
  form_.DrawFraeswege = false;
  draw();

  EXPECT_EQ(log_, (std::vector<std::string>{"Lesen 1", "Kontur 1 selected", "Nummer 1",  // the panel
                                            "Lesen 1", "Kontur 1",                       // (0, 1)
                                            "Lesen 1", "Kontur 1",                       // (1, 0)
                                            "Lesen 1", "Kontur 1"}));                    // (1, 1)
  EXPECT_EQ(form_.DatenStringGrid.Cells(12, 1), "true");
  EXPECT_TRUE(form_.DrawNummer);
  EXPECT_DOUBLE_EQ(form_.Nutzenversatz.x, 0.0);
  EXPECT_DOUBLE_EQ(form_.Nutzenversatz.y, 0.0);
  EXPECT_DOUBLE_EQ(form_.AusdehnungEinzeln.xMax, 5.0 + 3.0);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.xMax, 25.0);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.yMax, 35.0);
}

TEST_F(PanelDrawing, OneByOneCopiesDrawThePanelOnce) {
  panel::appendObjectRow(form_, "PUNKT", {{1, "5.00"}, {2, "5.00"}, {3, "-1.00"}});
  form_.MenuNutzenfertigung.Checked = true;
  draw();
  EXPECT_EQ(std::count(log_.begin(), log_.end(), "Lesen 1"), 1);
}

TEST_F(PanelDrawing, TheExtentBoxNeedsMakerModeAndTheExtentSwitch) {
  for (const bool maker : {false, true}) {
    canvas_.clear();
    form_.bHerstellermodus = maker;
    form_.DrawNF = true;
    draw();
    const auto rects = canvas_.opsOf(CanvasOp::Kind::Rectangle);
    const bool hatched = std::any_of(rects.begin(), rects.end(), [](const CanvasOp& op) {
      return op.brush.style == platform::BrushStyle::DiagCross && op.brush.colour == 0xD0D0D0u;
    });
    EXPECT_EQ(hatched, maker);
  }
}

TEST_F(PanelDrawing, TheRubberBandIsADottedClosedLine) {
  form_.bGummiRect = true;
  form_.GummiRect = {100, 110, 200, 220};
  draw();
  const auto lines = canvas_.opsOf(CanvasOp::Kind::LineTo);
  ASSERT_GE(lines.size(), 4u);
  std::vector<std::vector<int>> last;
  for (auto it = lines.end() - 4; it != lines.end(); ++it) {
    last.push_back(it->args);
    EXPECT_EQ(it->pen.style, platform::PenStyle::Dot);
    EXPECT_EQ(it->pen.colour, 0x008000u);
  }
  EXPECT_EQ(last, (std::vector<std::vector<int>>{{100, 220}, {200, 220}, {200, 110}, {100, 110}}));
}

TEST_F(PanelDrawing, ADegenerateBitmapOrPanelStillDraws) {
  RecordingCanvas tiny({0, 0});
  form_.Abmessungen.Plattenbreite = 0.0;
  form_.Abmessungen.Plattenhoehe = -10.0;
  panel::appendObjectRow(form_, "PUNKT", {{1, "5.00"}, {2, "5.00"}, {3, "-1.00"}});
  panel::DrawContext context{form_, tiny, types_};
  panel::DrawTVXFormat(context);
  EXPECT_GT(form_.Ansicht.dMassstab, 0.0);
}

// A panel of 1e12 mm (held at 1e9 when read) once saturated to the largest pixel, and then the
// panel's right edge and the ruler ticks overflowed; so would a line to 1e9 mm on a panel of a
// hundredth of a millimetre, drawn at 70000 px per mm. Every pixel now stays within the limit, the
// sums of pixels included, and the panel still extends to the right of its origin.
TEST_F(PanelDrawing, HugeValuesDrawWithinThePixelLimit) {
  const panel::ObjectTypeTable types = panel::standardObjectTypes();
  for (const double panelSize : {0.0, 0.01}) {
    testsupport::ScriptedUi ui;
    ASSERT_TRUE(panel::DokumentOeffnen(form_, testsupport::fixture("riesig.tvx"), ui));
    if (panelSize > 0.0) form_.Abmessungen.Plattenbreite = form_.Abmessungen.Plattenhoehe = panelSize;
    form_.DrawNummer = true;
    form_.DrawLeerfahrten = true;
    form_.bHerstellermodus = true;
    form_.DrawNF = true;
    form_.MenuNutzenfertigung.Checked = true;
    form_.Nutzenfertigung = {1e9, 1e9, 3, 2};
    canvas_.clear();
    panel::DrawContext context{form_, canvas_, types};
    panel::DrawTVXFormat(context);

    // A clamped pixel plus a few clamped lengths, as a corner's centre and radius give.
    const int limit = 4 * panel::kPixelLimit;
    for (const auto& op : canvas_.ops()) {
      for (int v : op.args) ASSERT_LE(std::abs(v), limit) << panelSize;
      for (const auto& p : op.points) ASSERT_LE(std::max(std::abs(p.x), std::abs(p.y)), limit) << panelSize;
    }
    const auto fills = canvas_.opsOf(CanvasOp::Kind::FillRect);
    ASSERT_FALSE(fills.empty());
    EXPECT_GT(fills.front().args[2], form_.Ansicht.x0);
  }
}

TEST_F(PanelDrawing, TheRedrawGoesByDocumentKind) {
  std::vector<panel::DocumentKind> painted;
  int gridRefreshes = 0;
  types_[KonturTyp::Hpgl].drawRow = [](panel::DrawContext&, const panel::StringGrid&, int) { return true; };
  panel::appendObjectRow(form_, "HPGL/PLT", {});
  panel::appendObjectRow(form_, "HPGL/PLT", {});
  form_.iAktZeile = 2;
  panel::DrawContext context{
      form_, canvas_, types_, {}, [&] { ++gridRefreshes; }, [&](panel::DocumentKind kind) { painted.push_back(kind); }};

  form_.Dokumenttyp = panel::DocumentKind::Panel;
  panel::AnsichtNeuZeichnen(context);
  EXPECT_EQ(gridRefreshes, 1);  // only after the plot row that is the current row
  form_.Dokumenttyp = panel::DocumentKind::Dxf;
  panel::AnsichtNeuZeichnen(context);
  form_.Dokumenttyp = panel::DocumentKind::None;
  panel::AnsichtNeuZeichnen(context);
  EXPECT_EQ(painted, std::vector<panel::DocumentKind>{panel::DocumentKind::Dxf});
  EXPECT_EQ(traceLines().size(), 2u);
}

}  // namespace
