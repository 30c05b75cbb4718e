// An opened plot milled by the whole run on a recorded controller: cut through, or stopped inside
// the plot, which ends the run as stopped, with the question after it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "MachineFixture.h"
#include "formats/HpglModule.h"
#include "panel/MillingRun.h"
#include "support/ScriptedUi.h"

namespace {

class PlotRun : public paneltest::MachineFixture {
 protected:
  PlotRun() {
    const std::filesystem::path path = platform::programFolder() / "p.plt";
    std::ofstream(path) << "IN;PU0,0;PD400,0,400,400,0,400,0,0;PU;";
    plot_.HPGL_Parser(path);
    form_.Dokumenttyp = panel::DocumentKind::Hpgl;
    // As the main window does: a copy of the plot with the run's pen heights.
    context_.formatRun = [this](panel::DocumentKind, double penUp, double penDown) {
      formats::THPGLDataModule plot = plot_;
      plot.penUpHeight = penUp;
      plot.penDownDepth = penDown;
      panel::MillContext mill{form_, types_, motion_};
      mill.canvas = &canvas_;
      plot.HPGL_Ausfuehren(mill);
    };
    context_.ask = [this](const std::string& text, const std::string& caption, platform::MsgButtons buttons,
                          platform::MsgIcon icon, std::optional<platform::MsgResult> defaultButton) {
      return ui_.messageBox(text, caption, buttons, icon, defaultButton);
    };
  }

  long cuts() const {
    const auto lines = traceLines();
    return std::count_if(lines.begin(), lines.end(),
                         [](const std::string& l) { return l.rfind("    cncLineTo(1,", 0) == 0; });
  }

  formats::THPGLDataModule plot_;
  panel::ObjectTypeTable types_;
  testsupport::ScriptedUi ui_;
  panel::RunContext context_{form_, types_, layer_, motion_};
};

TEST_F(PlotRun, APlotIsCutAtTheDefaultDepthAndTheRunCompletes) {
  EXPECT_EQ(panel::fraesenAusfuehren(context_), 0);
  EXPECT_EQ(cuts(), 4);
  const auto lines = traceLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "    cncLineTo(1, 10.00, 10.00, 6.00)"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "cncNachBearbeitung(0) :: Fertig"), lines.end());
  EXPECT_TRUE(ui_.messageBoxes().empty());
}

// The stop comes while the first cut is made: the plot is left there, and the run ends as a
// stopped one, with its question.
TEST_F(PlotRun, AStopInsideThePlotEndsTheRunAsStopped) {
  backend_->onCall = [this, cutsSeen = 0](const std::string& call, int) mutable {
    if (call.rfind("Vektorfahrt_ausfuehren 1 1 4000", 0) == 0 && ++cutsSeen == 1) bAbbruch_ = true;
  };
  ui_.pushAnswer(platform::MsgResult::No);
  EXPECT_EQ(panel::fraesenAusfuehren(context_), 0);
  EXPECT_EQ(cuts(), 1);
  ASSERT_EQ(ui_.messageBoxes().size(), 1u);
  EXPECT_EQ(ui_.messageBoxes()[0].text, panel::abbruchFrage(0));
  const auto lines = traceLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "cncNachBearbeitung(1)"), lines.end());
  EXPECT_FALSE(bAbbruch_.load());
}

}  // namespace
