// The HPGL module: reading a file with or without its messages, the world window, a file that
// cannot be read, the paint with and without a view of its own, and the run, live, simulated,
// stopped and on a copy while the module reads the next file.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "ElementText.h"
#include "RecordingMotion.h"
#include "TraceLogFolder.h"
#include "formats/HpglModule.h"
#include "support/RecordingCanvas.h"
#include "support/ScriptedUi.h"

namespace {

using testsupport::CanvasOp;
using Path = std::vector<std::string>;

class HpglModule : public paneltest::TraceLogFolder {
 protected:
  std::filesystem::path plot(const std::string& name, const std::string& text) {
    const std::filesystem::path path = platform::programFolder() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  std::vector<std::string> run() {
    motion_.calls.clear();
    panel::MillContext context{form_, types_, motion_};
    context.canvas = &canvas_;
    plot_.HPGL_Ausfuehren(context);
    return motion_.calls;
  }

  formats::THPGLDataModule plot_;
  testsupport::ScriptedUi ui_;
  panel::TMainFormState form_;
  panel::ObjectTypeTable types_;
  testsupport::RecordingCanvas canvas_;
  paneltest::RecordingMotion motion_;
};

TEST_F(HpglModule, ANewModuleHasAnEmptyPlotAndANegativeZeroWindow) {
  EXPECT_TRUE(plot_.elements().empty());
  EXPECT_FALSE(plot_.readOk());
  EXPECT_EQ(plot_.Ansicht.xMin, 0.0);
  EXPECT_TRUE(std::signbit(plot_.Ansicht.xMax));
  EXPECT_TRUE(std::signbit(plot_.Ansicht.yMax));
  EXPECT_FALSE(plot_.Ansicht.liveDrawing);
}

TEST_F(HpglModule, TheWorldWindowIsThePlotsExtentAtItsShift) {
  plot_.Ansicht.xShift = 20.0;
  plot_.Ansicht.yShift = 30.0;
  plot_.HPGL_Parser(plot("p.plt", "IN;PU0,0;PD400,0,400,400;"));
  EXPECT_TRUE(plot_.readOk());
  EXPECT_EQ(formatstest::elementTexts(plot_.elements()),
            (Path{"UP", "UP", "MOVETO 20.00 30.00", "DOWN", "LINETO 30.00 30.00", "LINETO 30.00 40.00", "UP"}));
  EXPECT_DOUBLE_EQ(plot_.Ansicht.xMin, 20.0);
  EXPECT_DOUBLE_EQ(plot_.Ansicht.yMin, 30.0);
  EXPECT_DOUBLE_EQ(plot_.Ansicht.xMax, 30.0);
  EXPECT_DOUBLE_EQ(plot_.Ansicht.yMax, 40.0);
  const auto lines = traceLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("HPGL_Parser::", 0), 0u);
}

TEST_F(HpglModule, TheReadersMessagesAndBeepAreShownOnlyWhenAskedFor) {
  const auto ohneIn = plot("ohne-in.plt", "PU0,0;PD40,0;");
  EXPECT_EQ(plot_.HPGL_Parser(ohneIn), 0);
  EXPECT_TRUE(ui_.calls().empty());
  EXPECT_EQ(plot_.HPGL_Parser(ohneIn, &ui_), 0);
  ASSERT_EQ(ui_.messageBoxes().size(), 1u);
  EXPECT_EQ(ui_.messageBoxes()[0].text, "Der Befehl 'IN' fehlt in der Plot-Datei!");
  EXPECT_EQ(ui_.messageBoxes()[0].caption, "F E H L E R");
  EXPECT_EQ(ui_.messageBoxes()[0].icon, platform::MsgIcon::Warning);
  EXPECT_TRUE(traceLines().empty());

  ui_.clear();
  plot_.HPGL_Parser(plot("hinweis.plt", "IN;PU0,0;;PM0;"), &ui_);
  const auto calls = ui_.calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].kind, testsupport::UiCall::Kind::Beep);
  EXPECT_EQ(calls[1].text, "P... - Befehl ist noch nicht implementiert!");
  EXPECT_EQ(calls[1].caption, "H I N W E I S");
  EXPECT_EQ(calls[1].icon, platform::MsgIcon::Information);
  EXPECT_EQ(calls[2].text, "Fehler beim Parsen");
  EXPECT_TRUE(plot_.elements().empty());
}

// Whatever the file gives replaces the plot before: nothing of an earlier plot is left to draw or
// mill when the next file cannot be read.
TEST_F(HpglModule, AFileThatCannotBeReadLeavesNoPlotBehind) {
  plot_.Ansicht.xShift = 5.0;
  plot_.HPGL_Parser(plot("gut.plt", "IN;PU0,0;PD400,400;"));
  ASSERT_FALSE(plot_.elements().empty());
  const auto fehlt = platform::programFolder() / "fehlt.plt";
  EXPECT_EQ(plot_.HPGL_Parser(fehlt), 0);
  EXPECT_TRUE(plot_.elements().empty());
  EXPECT_FALSE(plot_.readOk());
  EXPECT_DOUBLE_EQ(plot_.Ansicht.xMin, 5.0);
  EXPECT_DOUBLE_EQ(plot_.Ansicht.xMax, 5.0);
  EXPECT_DOUBLE_EQ(plot_.Ansicht.yMax, 0.0);

  std::filesystem::create_directories(platform::programFolder() / "ordner.plt");
  plot_.HPGL_Parser(platform::programFolder() / "ordner.plt", &ui_);
  ASSERT_EQ(ui_.messageBoxes().size(), 1u);
  EXPECT_EQ(ui_.messageBoxes()[0].text.rfind((platform::programFolder() / "ordner.plt").string() + "\n", 0), 0u);
}

TEST_F(HpglModule, WithAViewOfItsOwnThePaintLaysOutTheWorldWindowWithBackgroundAndRulers) {
  plot_.HPGL_Parser(plot("p.plt", "IN;PU0,0;PD400,0,400,400;"));
  int copies = 0;
  panel::DrawContext context{form_, canvas_, types_, [&copies] { ++copies; }};
  plot_.HPGL_Paint(context, true);
  EXPECT_EQ(canvas_.opsOf(CanvasOp::Kind::FillRect).size(), 1u);
  EXPECT_FALSE(canvas_.opsOf(CanvasOp::Kind::TextOut).empty());
  EXPECT_EQ(copies, 1);
  const panel::PanelAnsicht& view = plot_.Ansicht;
  EXPECT_GT(view.dMassstab, 1.0);
  std::vector<CanvasOp> cuts;
  for (const CanvasOp& op : canvas_.opsOf(CanvasOp::Kind::LineTo))
    if (op.pen.colour == form_.Farben.FarbeSchnitt) cuts.push_back(op);
  ASSERT_EQ(cuts.size(), 2u);
  EXPECT_EQ(cuts[0].from, (platform::Point{view.x0, view.y0}));
  EXPECT_EQ(cuts[1].args, (std::vector<int>{panel::mm2PixelX(view, 10.0), panel::mm2PixelY(view, 10.0)}));
  EXPECT_EQ(cuts[0].pen.width, 1);
}

// Inside a panel the plot is drawn in the main window's view, on the panel's background.
TEST_F(HpglModule, WithoutAViewOfItsOwnThePaintTakesTheMainWindowsView) {
  form_.Ansicht.x0 = 40;
  form_.Ansicht.y0 = 500;
  form_.Ansicht.dMassstab = 4.0;
  form_.DrawFraeswege = false;
  plot_.HPGL_Parser(plot("p.plt", "IN;PU0,0;PD400,0;"));
  int copies = 0;
  panel::DrawContext context{form_, canvas_, types_, [&copies] { ++copies; }};
  plot_.HPGL_Paint(context, false);
  EXPECT_TRUE(canvas_.opsOf(CanvasOp::Kind::FillRect).empty());
  EXPECT_EQ(copies, 0);
  const auto lines = canvas_.opsOf(CanvasOp::Kind::LineTo);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].from, (platform::Point{40, 500}));
  EXPECT_EQ(lines[0].args, (std::vector<int>{80, 500}));
  EXPECT_EQ(lines[0].pen.colour, form_.Farben.FarbeJa);
}

struct RunCase {
  bool simulation;
  Path calls;
};

class HpglRuns : public HpglModule, public ::testing::WithParamInterface<RunCase> {};

// Live, the pen lifts and lowers and every travel moves; an arc drawn with the pen up is cut at
// the pen-up height. A simulation moves nothing and only waits the pace after each cut.
TEST_P(HpglRuns, LiftLowerTravelAndCutByThePen) {
  form_.SimulationslaufCheckBox.Checked = GetParam().simulation;
  plot_.HPGL_Parser(plot("p.plt", "IN;PU0,0;PD400,0;PU;AA0,0,90,45;"));
  plot_.penUpHeight = 0.5;
  plot_.penDownDepth = 6.0;
  const std::vector<std::string> calls = run();
  ASSERT_GE(calls.size(), GetParam().calls.size() + 9);
  EXPECT_EQ(Path(calls.begin(), calls.begin() + static_cast<long>(GetParam().calls.size())), GetParam().calls);
  // The arc's nine cuts, the last at 90 degrees; live, the pen is lifted at the end.
  const std::size_t lastCut = GetParam().simulation ? calls.size() - 1 : calls.size() - 2;
  EXPECT_EQ(calls[lastCut], GetParam().simulation ? "simulationPause" : "cncLineTo 1 0.00 10.00 0.50");
  EXPECT_EQ(calls.size(), GetParam().calls.size() + 9 + (GetParam().simulation ? 0 : 1));
  if (!GetParam().simulation) {
    EXPECT_EQ(calls.back(), "cncStiftHebenSenken 1");
  }
  EXPECT_EQ(motion_.stopChecks, static_cast<int>(plot_.elements().size()) + 1);
  EXPECT_FALSE(canvas_.opsOf(CanvasOp::Kind::LineTo).empty());
}

INSTANTIATE_TEST_SUITE_P(Modes, HpglRuns,
                         ::testing::Values(RunCase{false,
                                                   {"setStiftHoehen 0.50 6.00", "cncStiftHebenSenken 1",
                                                    "cncStiftHebenSenken 1", "cncMoveTo 0.00 0.00",
                                                    "cncStiftHebenSenken 0", "cncLineTo 1 10.00 0.00 6.00",
                                                    "cncStiftHebenSenken 1"}},
                                           RunCase{true, {"setStiftHoehen 0.50 6.00", "simulationPause"}}));

// A stop ends the run as stopped, before the next element, and moves nothing more.
TEST_F(HpglModule, AStopEndsTheRunAsStopped) {
  plot_.HPGL_Parser(plot("p.plt", "IN;PU0,0;PD400,0;"));
  motion_.stopRequested = true;
  EXPECT_THROW(run(), int);
  EXPECT_EQ(motion_.calls, (Path{"setStiftHoehen 0.00 0.00"}));
  EXPECT_EQ(motion_.stopChecks, 1);
}

// A run walks the copy it was given while the module reads other files into itself.
TEST_F(HpglModule, ARunWalksItsCopyWhileTheModuleReadsTheNextFile) {
  std::string viele = "IN;PU0,0;PD";
  for (int i = 0; i < 5000; ++i) viele += std::to_string(i) + "," + std::to_string(i % 7) + ",";
  viele += "0,0;";
  plot_.HPGL_Parser(plot("viele.plt", viele));
  const formats::THPGLDataModule copy = plot_;
  const std::size_t elements = copy.elements().size();
  const auto other = plot("anders.plt", "IN;PU0,0;PD400,400;");

  paneltest::RecordingMotion motion;
  form_.SimulationslaufCheckBox.Checked = true;
  std::thread worker([&] {
    panel::MillContext context{form_, types_, motion};
    copy.HPGL_Ausfuehren(context);
  });
  for (int i = 0; i < 20; ++i) plot_.HPGL_Parser(i % 2 == 0 ? other : plot("viele.plt", viele));
  worker.join();
  EXPECT_EQ(motion.stopChecks, static_cast<int>(elements) + 1);
  EXPECT_EQ(motion.calls.size(), 5002u);  // the heights and one cut per pair
}

}  // namespace

namespace {

// A module without a plot paints the background and rulers of an empty window, and its run moves
// nothing but still looks for a stop.
TEST_F(HpglModule, WithoutAPlotThePaintIsBackgroundAndRulersAndTheRunMovesNothing) {
  panel::DrawContext context{form_, canvas_, types_};
  plot_.HPGL_Paint(context, true);
  EXPECT_EQ(canvas_.opsOf(CanvasOp::Kind::FillRect).size(), 1u);
  for (const CanvasOp& op : canvas_.opsOf(CanvasOp::Kind::LineTo)) EXPECT_EQ(op.pen.colour, 0xFFFFFFu);
  EXPECT_EQ(run(), (Path{"setStiftHoehen 0.00 0.00"}));
  EXPECT_EQ(motion_.stopChecks, 1);
}

}  // namespace
