// Opened programs and drawings milled by the whole run on a recorded controller: which primitive
// each element becomes, live and simulated; z of a program as written and of a drawing at the
// surface; a stop before the first element. Simulated plots, programs and drawings on their own:
// what they draw and wait.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "MachineFixture.h"
#include "formats/DinIsoModule.h"
#include "formats/DxfModule.h"
#include "formats/HpglModule.h"
#include "panel/MillingRun.h"
#include "support/ScriptedUi.h"

namespace {

class ForeignRun : public paneltest::MachineFixture {
 protected:
  ForeignRun() {
    const std::filesystem::path path = platform::programFolder() / "p.nc";
    std::ofstream(path) << "%\nG00 X10 Y5 Z-2\nM03 F200\nG01 X20 Z1.5\n";
    program_.DINISO_Parser(path);
    drawing_.DXF_Parser({"0", "SECTION", "2", "ENTITIES", "0", "LINE", "10", "1", "20",     "2", "30",
                         "3", "11",      "4", "21",       "5", "31",   "6",  "0", "ENDSEC", "0", "EOF"});
    // As the main window does: the run walks a copy of the module taken when it was posted.
    context_.formatRun = [this](panel::DocumentKind kind, double, double) {
      panel::MillContext mill{form_, types_, motion_};
      mill.canvas = &canvas_;
      if (stopAtStart_) bAbbruch_ = true;
      if (kind == panel::DocumentKind::DinIso) formats::TDINISODataModule(program_).DINISO_Ausfuehren(mill);
      if (kind == panel::DocumentKind::Dxf) formats::TDXFDataModule(drawing_).DXF_Ausfuehren(mill);
    };
    context_.ask = [this](const std::string& text, const std::string& caption, platform::MsgButtons buttons,
                          platform::MsgIcon icon, std::optional<platform::MsgResult> defaultButton) {
      return ui_.messageBox(text, caption, buttons, icon, defaultButton);
    };
  }

  // The primitive calls of the run, in order, without the steps before and after machining.
  std::vector<std::string> primitives() const {
    std::vector<std::string> out;
    bool inside = false;
    for (const std::string& l : traceLines()) {
      if (l == "vor Bearbeitung() :: Fertig") inside = true;
      if (l.rfind("cncNachBearbeitung(", 0) == 0) inside = false;
      if (inside && (l.rfind("    cncLineTo(", 0) == 0 || l.rfind("    cncMoveTo(", 0) == 0))
        out.push_back(l.substr(4));
    }
    return out;
  }

  formats::TDINISODataModule program_;
  formats::TDXFDataModule drawing_;
  bool stopAtStart_ = false;
  panel::ObjectTypeTable types_;
  testsupport::ScriptedUi ui_;
  panel::RunContext context_{form_, types_, layer_, motion_};
};

struct RunCase {
  const char* name;
  panel::DocumentKind kind;
  bool simulating;
  std::vector<std::string> primitives;
  friend std::ostream& operator<<(std::ostream& os, const RunCase& c) { return os << c.name; }
};

class ForeignRuns : public ForeignRun, public ::testing::WithParamInterface<RunCase> {};

TEST_P(ForeignRuns, CallThePrimitivesTheirElementsAskFor) {
  form_.Dokumenttyp = GetParam().kind;
  form_.SimulationslaufCheckBox.Checked = GetParam().simulating;
  EXPECT_EQ(panel::fraesenAusfuehren(context_), 0);
  EXPECT_EQ(primitives(), GetParam().primitives);
  EXPECT_TRUE(ui_.messageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, ForeignRuns,
                         ::testing::Values(
                             // Rapid and feed moves as linear moves at the rapid and working speeds, z as written.
                             RunCase{"ProgramLive",
                                     panel::DocumentKind::DinIso,
                                     false,
                                     {"cncLineTo(2, 10.00, 5.00, -2.00)", "cncLineTo(1, 20.00, 5.00, 1.50)"}},
                             // A simulation moves nothing.
                             RunCase{"ProgramSimulated", panel::DocumentKind::DinIso, true, {}},
                             // A drawing travels to the start and cuts at the surface whatever z it gives.
                             RunCase{"DrawingLive",
                                     panel::DocumentKind::Dxf,
                                     false,
                                     {"cncMoveTo(1.00, 2.00)", "cncLineTo(1, 4.00, 5.00, 0.00)"}},
                             RunCase{"DrawingSimulated", panel::DocumentKind::Dxf, true, {}}));

struct SimulationCase {
  const char* name;
  std::function<void(panel::MillContext&)> run;
  int cuts;
  friend std::ostream& operator<<(std::ostream& os, const SimulationCase& c) { return os << c.name; }
};

class Simulations : public paneltest::MachineFixture, public ::testing::WithParamInterface<SimulationCase> {};

// A simulated plot, program or drawing draws each step once and waits the pace after each cut;
// nothing reaches the controller or the motion trace.
TEST_P(Simulations, DrawEachCutOnceAndOnlyWait) {
  form_.SimulationslaufCheckBox.Checked = true;
  form_.DrawLeerfahrten = false;
  panel::ObjectTypeTable types;
  panel::MillContext mill{form_, types, motion_};
  mill.canvas = &canvas_;
  GetParam().run(mill);
  EXPECT_EQ(canvas_.opsOf(testsupport::CanvasOp::Kind::LineTo).size(), static_cast<std::size_t>(GetParam().cuts));
  EXPECT_EQ(clock_.sleeps(), std::vector<std::int64_t>(static_cast<std::size_t>(GetParam().cuts), 60'000));
  EXPECT_TRUE(moves().empty());
  for (const std::string& line : traceLines()) EXPECT_EQ(line.rfind("    cnc", 0), std::string::npos) << line;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Simulations,
    ::testing::Values(
        SimulationCase{"Plot",
                       [](panel::MillContext& mill) {
                         const auto path = platform::programFolder() / "s.plt";
                         std::ofstream(path) << "IN;PU0,0;PD400,0,400,400;PU;PA0,0;";
                         formats::THPGLDataModule plot;
                         plot.HPGL_Parser(path);
                         plot.HPGL_Ausfuehren(mill);
                       },
                       2},
        SimulationCase{"Program",
                       [](panel::MillContext& mill) {
                         const auto path = platform::programFolder() / "s.nc";
                         std::ofstream(path) << "%\nG00 X10 Y5\nG01 X20\nG01 Y10\n";
                         formats::TDINISODataModule program;
                         program.DINISO_Parser(path);
                         program.DINISO_Ausfuehren(mill);
                       },
                       2},
        SimulationCase{
            "Drawing",
            [](panel::MillContext& mill) {
              formats::TDXFDataModule drawing;
              drawing.DXF_Parser({"0", "SECTION", "2", "ENTITIES", "0", "LINE", "11", "4", "0", "ENDSEC", "0", "EOF"});
              drawing.DXF_Ausfuehren(mill);
            },
            1}),
    [](const ::testing::TestParamInfo<SimulationCase>& p) { return std::string(p.param.name); });

// A stop asked for once the steps before machining are done ends the run before the program's
// first element, as a stopped run with its question; the request is cleared.
TEST_F(ForeignRun, AStopBeforeTheFirstElementEndsTheRunAsStopped) {
  form_.Dokumenttyp = panel::DocumentKind::DinIso;
  stopAtStart_ = true;
  ui_.pushAnswer(platform::MsgResult::No);
  EXPECT_EQ(panel::fraesenAusfuehren(context_), 0);
  EXPECT_TRUE(primitives().empty());
  ASSERT_EQ(ui_.messageBoxes().size(), 1u);
  EXPECT_EQ(ui_.messageBoxes()[0].text, panel::abbruchFrage(0));
  EXPECT_FALSE(bAbbruch_.load());
}

}  // namespace
