// HPGL/PLT rows with the real plot reader: a plot placed at its origin, drawn, milled, hit and
// grabbed; copies and sub-drawings; plot files that cannot be read; the new row and its
// properties.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ObjectTypeFixture.h"
#include "formats/HpglModule.h"
#include "panel/DocumentFile.h"
#include "panel/NewDocument.h"
#include "panel/types/TypeHpgl.h"
#include "support/ScriptedUi.h"

namespace {

using Strings = std::vector<std::string>;
using testsupport::CanvasOp;

constexpr const char* kWinkel = "IN;PU0,0;PD400,0,400,400;";

class PlotRows : public paneltest::ObjectTypeFixture {
 protected:
  PlotRows() { form_.plotReader = formats::hpglPlotReader(); }

  std::string plotFile(const std::string& name, const std::string& text) {
    const std::filesystem::path path = platform::programFolder() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  // A plot row at (x, y), 1.5 mm deep.
  int addPlot(const std::string& path, const char* x = "20.00", const char* y = "30.00") {
    return addRow("HPGL/PLT", {{1, x}, {2, y}, {3, "-1.50"}, {4, "p.plt"}, {5, path}});
  }
};

// The angle spans 0..400 plotter units (10 mm) from its own zero, placed at (20, 30): a box of
// pixels 120..160 x 340..380 at 4 px/mm.
TEST_F(PlotRows, APlotIsReadDrawnAndMilledAtItsOrigin) {
  const int row = addPlot(plotFile("p.plt", kWinkel));
  const auto hpgl = panel::Hpgl_Lesen(form_, form_.DatenStringGrid, row);
  ASSERT_TRUE(hpgl);
  EXPECT_TRUE(hpgl->plot->readOk());
  EXPECT_EQ((std::vector<int>{hpgl->links, hpgl->unten, hpgl->rechts, hpgl->oben}),
            (std::vector<int>{120, 380, 160, 340}));

  form_.DrawNummer = true;
  ASSERT_TRUE(draw(row));
  EXPECT_EQ(lines(), (Strings{"120,380-160,380", "160,380-160,340"}));
  const auto numbers = canvas_.opsOf(CanvasOp::Kind::TextOut);
  ASSERT_EQ(numbers.size(), 1u);
  EXPECT_EQ(numbers[0].text, std::to_string(row));
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.xMax, 30.0);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.yMax, 40.0);

  // The pen lifted to the surface, lowered to the row's depth.
  EXPECT_EQ(mill(row),
            (Strings{"cncMoveTo 20.00 30.00", "setStiftHoehen 0.00 1.50", "cncStiftHebenSenken 1",
                     "cncStiftHebenSenken 1", "cncMoveTo 20.00 30.00", "cncStiftHebenSenken 0",
                     "cncLineTo 1 30.00 30.00 1.50", "cncLineTo 1 30.00 40.00 1.50", "cncStiftHebenSenken 1"}));
  EXPECT_EQ(beeps_, 0);
}

TEST_F(PlotRows, TheTravelLineEndsAtTheLowerLeftCornerOfThePlot) {
  const TravelAndEnd drawn = drawFromAside(addPlot(plotFile("p.plt", kWinkel)));
  EXPECT_EQ(drawn.travelTo, (platform::Point{120, 380}));
  EXPECT_EQ(drawn.penEnd, (platform::Point{160, 340}));
}

// A copy of multi-up production moves the plot; the shift of a sub-drawing does not.
TEST_F(PlotRows, CopiesShiftThePlotAndASubDrawingsInsertionDoesNot) {
  const int row = addPlot(plotFile("p.plt", kWinkel));
  form_.Nutzenversatz = panel::Shift{5.0, 0.0};
  form_.Einfuegeversatz = panel::Shift{50.0, 50.0};
  const auto hpgl = panel::Hpgl_Lesen(form_, form_.DatenStringGrid, row);
  ASSERT_TRUE(hpgl);
  EXPECT_DOUBLE_EQ(hpgl->welt.xMin, 25.0);
  EXPECT_DOUBLE_EQ(hpgl->welt.yMin, 30.0);
  EXPECT_DOUBLE_EQ(hpgl->welt.xMax, 35.0);
  EXPECT_DOUBLE_EQ(hpgl->welt.yMax, 40.0);
}

// The whole inside of the box is the handle; the 15 px margin round it, where the handle squares
// sit, grabs nothing.
TEST_F(PlotRows, AreHitInTheirBoxAndGrabbedInsideIt) {
  const int row = addPlot(plotFile("p.plt", kWinkel));
  expectHitsAndHandles(
      row, {{120, 340}, {160, 380}, {140, 360}}, {{119, 360}, {161, 360}, {140, 339}, {140, 381}},
      {{140, 360, 26}, {121, 379, 26}, {120, 360, -1}, {160, 360, -1}, {105, 395, -1}, {140, 330, -1}});
}

TEST_F(PlotRows, ASelectedPlotShowsItsHandlesOutsideTheBoxAndTheGrabbedOneRed) {
  const int row = addPlot(plotFile("p.plt", kWinkel));
  setCell(row, 12, "true");
  form_.Griffpunkt = 26;
  ASSERT_TRUE(draw(row));
  const auto squares = canvas_.opsOf(CanvasOp::Kind::FillRect);
  ASSERT_EQ(squares.size(), 5u);
  EXPECT_EQ(squares[0].args, (std::vector<int>{100, 390, 110, 400}));
  EXPECT_EQ(squares[2].args, (std::vector<int>{170, 320, 180, 330}));
  EXPECT_EQ(squares.back().brush.colour, 0x0000FFu);
  EXPECT_EQ(squares.back().args, (std::vector<int>{115, 375, 125, 385}));
}

struct UnreadableCase {
  const char* name;
  std::string text;  // empty: no file at all
};

class UnreadablePlots : public PlotRows, public ::testing::WithParamInterface<UnreadableCase> {};

// A row whose file is gone or refused shows its origin alone and cannot be milled; nothing of the
// plot read for the row before it is drawn or milled.
TEST_P(UnreadablePlots, DrawAndMillNothingOfAnotherPlot) {
  const int good = addPlot(plotFile("gut.plt", kWinkel), "0.00", "0.00");
  const std::string path = GetParam().text.empty() ? (platform::programFolder() / "fehlt.plt").string()
                                                   : plotFile("schlecht.plt", GetParam().text);
  const int bad = addPlot(path, "50.00", "50.00");
  ASSERT_TRUE(draw(good));
  canvas_.clear();
  ASSERT_TRUE(draw(bad));
  EXPECT_TRUE(lines().empty());
  const auto hpgl = panel::Hpgl_Lesen(form_, form_.DatenStringGrid, bad);
  ASSERT_TRUE(hpgl);
  EXPECT_FALSE(hpgl->plot->readOk());
  EXPECT_DOUBLE_EQ(hpgl->welt.xMin, 50.0);
  EXPECT_DOUBLE_EQ(hpgl->welt.xMax, 50.0);
  EXPECT_TRUE(mill(bad).empty());
  EXPECT_EQ(beeps_, 1);
}

INSTANTIATE_TEST_SUITE_P(Files, UnreadablePlots,
                         ::testing::Values(UnreadableCase{"Missing", ""}, UnreadableCase{"WithoutIn", "PU0,0;PD40,0;"},
                                           UnreadableCase{"Refused", "IN;PU0,0;RO90;PD40,0;"}),
                         [](const ::testing::TestParamInfo<UnreadableCase>& p) { return std::string(p.param.name); });

TEST_F(PlotRows, ARowMilledOnlyInModeJa) {
  const int row = addPlot(plotFile("p.plt", kWinkel));
  setCell(row, 11, "nur zeichnen");
  EXPECT_TRUE(mill(row).empty());
  EXPECT_EQ(beeps_, 0);
}

// The new row names the chosen file; the reader's messages come once, when the file is chosen,
// and never again when the row is drawn.
TEST_F(PlotRows, ANewRowNamesItsFileWhichReportsOnlyWhenChosen) {
  testsupport::ScriptedUi ui;
  const std::string path = plotFile("ohne-in.plt", "PU0,0;PD40,0;");
  const int row = types_[panel::KonturTyp::Hpgl].newRow(form_, panel::NewRowRequest{0, path});
  panel::hpglReportFile(form_, path, ui);
  const auto calls = ui.calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].text, "Der Befehl 'IN' fehlt in der Plot-Datei!");
  EXPECT_EQ(calls[0].caption, "F E H L E R");
  const panel::StringGrid& grid = form_.DatenStringGrid;
  EXPECT_EQ((Strings{grid.Cells(0, row), grid.Cells(1, row), grid.Cells(2, row), grid.Cells(3, row), grid.Cells(4, row),
                     grid.Cells(5, row), grid.Cells(11, row), grid.Cells(12, row)}),
            (Strings{"HPGL/PLT", "0.00", "0.00", "-6.00", "ohne-in.plt", path, "ja", "true"}));
  EXPECT_EQ(form_.EigenschaftenLabel, "HPGL/PLT-Eigenschaften:");
  EXPECT_EQ(form_.esgTyp, 11);
  const panel::StringGrid& props = form_.EigenschaftenStringGrid;
  EXPECT_EQ((Strings{props.Cells(0, 1), props.Cells(0, 2), props.Cells(0, 3), props.Cells(0, 4), props.Cells(1, 4),
                     props.Cells(0, 11), props.Cells(0, 5)}),
            (Strings{"X-Ursprung:", "Y-Ursprung:", "Tiefe:", "Datei-Name:", "ohne-in.plt", "Fräsen:", ""}));
  ASSERT_TRUE(draw(row));
  EXPECT_EQ(ui.calls().size(), 1u);

  const int cancelled = types_[panel::KonturTyp::Hpgl].newRow(form_, panel::NewRowRequest{});
  EXPECT_EQ(grid.Cells(4, cancelled), "");
  EXPECT_EQ(grid.Cells(5, cancelled), "");
  EXPECT_EQ(grid.Cells(0, cancelled), "HPGL/PLT");
}

TEST_F(PlotRows, TakingPropertiesBackCorrectsTheDepthAndLeavesTheFileName) {
  const int row = addPlot(plotFile("p.plt", kWinkel));
  types_[panel::KonturTyp::Hpgl].showProperties(form_, row);
  panel::StringGrid& props = form_.EigenschaftenStringGrid;
  props.setCells(1, 1, "2,5");
  props.setCells(1, 3, "1");
  props.setCells(1, 4, "anders.plt");
  types_[panel::KonturTyp::Hpgl].takeProperties(form_, row);
  EXPECT_EQ(form_.DatenStringGrid.Cells(1, row), "2.50");
  EXPECT_EQ(form_.DatenStringGrid.Cells(3, row), "0.00");
  EXPECT_EQ(form_.DatenStringGrid.Cells(4, row), "p.plt");
}

// A plot inside a sub-drawing is drawn and milled at its own origin, not moved by the
// sub-drawing's.
TEST_F(PlotRows, APlotInsideASubDrawingStaysAtItsOwnOrigin) {
  panel::TMainFormState library;
  panel::StringGrid_Neu(library);
  panel::appendObjectRow(library, "HPGL/PLT",
                         {{1, "20.00"}, {2, "30.00"}, {3, "-1.50"}, {4, "p.plt"}, {5, plotFile("p.plt", kWinkel)}});
  const auto libraryPath = platform::programFolder() / "bibliothek.tvx";
  testsupport::ScriptedUi ui;
  ASSERT_TRUE(panel::DokumentSpeichern(library, libraryPath, ui));
  const int row = addRow("BIBLIOTHEK", {{1, "50.00"}, {2, "50.00"}, {3, "-1.00"}, {5, libraryPath.string()}});

  ASSERT_TRUE(draw(row));
  EXPECT_EQ(lines(), (Strings{"120,380-160,380", "160,380-160,340"}));
  const Strings calls = mill(row);
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ((Strings{calls[0], calls[1]}), (Strings{"cncMoveTo 50.00 50.00", "cncMoveTo 20.00 30.00"}));
  EXPECT_EQ(form_.Einfuegeversatz.x, 0.0);
}

}  // namespace
