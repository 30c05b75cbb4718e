// The milling run end to end on a recorded controller: steps before and after machining, the
// walk over copies, simulation, the stop path with its question, failures and the snapshot.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <sstream>

#include "MachineFixture.h"
#include "TestPointType.h"
#include "machine/FailureCodes.h"
#include "machine/SharedParameters.h"
#include "machine/StepRange.h"
#include "panel/DocumentFile.h"
#include "panel/MillingRun.h"
#include "panel/ObjectTypes.h"
#include "support/Fixtures.h"
#include "support/ScriptedUi.h"
#include "types/FontFolder.h"

namespace {

using Strings = std::vector<std::string>;
using panel::KonturTyp;
using platform::MsgResult;

class MillingRun : public paneltest::MachineFixture {
 protected:
  MillingRun() {
    types_[KonturTyp::Punkt] = panel::makeObjectTypeEntry<paneltest::TestPointType>();
    form_.Dokumenttyp = panel::DocumentKind::Panel;
    form_.SpindelmotorCheckBox.Checked = true;
    form_.KuehlmittelpumpeCheckBox.Checked = true;
    panel::appendObjectRow(form_, "PUNKT", {{1, "5.00"}, {2, "5.00"}, {3, "-1.00"}});
    panel::appendObjectRow(form_, "---", {});
    context_.ask = [this](const std::string& text, const std::string& caption, platform::MsgButtons buttons,
                          platform::MsgIcon icon, std::optional<platform::MsgResult> defaultButton) {
      callsAtQuestion_ = backend_->calls().size();
      return ui_.messageBox(text, caption, buttons, icon, defaultButton);
    };
    context_.redraw = [this] { ++redraws_; };
    context_.showProgress = [this](const panel::ProgressBarState& bar) { progress_.push_back(bar.Position); };
  }

  Strings traceStartingWith(const std::string& prefix) const {
    Strings out;
    for (const auto& line : traceLines())
      if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
  }

  long traceCount(const std::string& line) const {
    const Strings trace = traceLines();
    return std::count(trace.begin(), trace.end(), line);
  }

  long count(const std::string& call) const {
    const auto calls = backend_->calls();
    return std::count(calls.begin(), calls.end(), call);
  }

  panel::ObjectTypeTable types_;
  testsupport::ScriptedUi ui_;
  panel::RunContext context_{form_, types_, layer_, motion_};
  std::size_t callsAtQuestion_ = 0;
  int redraws_ = 0;
  std::vector<int> progress_;
};

TEST_F(MillingRun, ALiveRunMillsEveryCopyBetweenTheStepsBeforeAndAfter) {
  form_.MenuNutzenfertigung.Checked = true;
  form_.Nutzenfertigung = {20.0, 30.0, 2, 3};
  EXPECT_EQ(panel::fraesenAusfuehren(context_), 0);

  EXPECT_EQ(traceStartingWith("    cncMoveTo"),
            (Strings{"    cncMoveTo(5.00, 5.00)", "    cncMoveTo(5.00, 35.00)", "    cncMoveTo(5.00, 65.00)",
                     "    cncMoveTo(25.00, 5.00)", "    cncMoveTo(25.00, 35.00)", "    cncMoveTo(25.00, 65.00)"}));
  const Strings trace = traceLines();
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "[2] ---"), 6);
  const Strings calls = backend_->calls();
  EXPECT_EQ(calls.front(), "Startgeschwindigkeit_einstellen 200");
  const auto spindleOn = std::find(calls.begin(), calls.end(), "Ausgangssignal_setzen 1 1");
  const auto firstMove =
      std::find_if(calls.begin(), calls.end(), [](const std::string& c) { return c.rfind("Vektorfahrt", 0) == 0; });
  EXPECT_LT(spindleOn, firstMove);
  EXPECT_EQ(count("Ausgangssignal_setzen 2 1"), 6);  // coolant around each cut
  EXPECT_EQ(calls.back(), "Ausgangssignal_setzen 2 0");
  // After machining the tool travels to the workpiece zero without a question.
  EXPECT_EQ(backend_->Wert_lesen('x'), 4000);
  EXPECT_EQ(backend_->Wert_lesen('y'), 8000);
  EXPECT_TRUE(ui_.messageBoxes().empty());
  EXPECT_EQ(redraws_, 1);
  EXPECT_EQ(progress_.front(), 0);
  EXPECT_EQ(progress_.back(), 0);
  EXPECT_EQ(form_.FortschrittsanzeigeProgressBar.Max, 2);
  const Strings frame = traceStartingWith("c");
  EXPECT_EQ(frame.front(), "cncFraesen()");
  EXPECT_EQ(frame.back(), "cncFraesen() :: Fertig");
}

TEST_F(MillingRun, ASimulationSendsNothingAndAsksNothingWhenStopped) {
  form_.SimulationslaufCheckBox.Checked = true;
  EXPECT_EQ(panel::fraesenAusfuehren(context_), 0);
  EXPECT_TRUE(backend_->calls().empty());
  EXPECT_EQ(traceCount("vor Bearbeitung()"), 1);
  EXPECT_EQ(traceCount("cncNachBearbeitung(0) :: Fertig"), 1);

  bAbbruch_ = true;
  EXPECT_EQ(panel::fraesenAusfuehren(context_), 0);
  EXPECT_TRUE(ui_.messageBoxes().empty());
  EXPECT_EQ(traceCount("cncNachBearbeitung(1)"), 1);
}

struct StopCase {
  std::optional<MsgResult> answer;  // nullopt: Return
  bool travelsBack;
  friend std::ostream& operator<<(std::ostream& os, const StopCase& c) { return os << c.travelsBack; }
};

class StoppedRun : public MillingRun, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StoppedRun, SwitchesTheOutputsOffAsksAndTravelsOnlyOnYes) {
  // The stop button is pressed while the coolant comes on for the point.
  backend_->onCall = [this](const std::string& call, int) {
    if (call == "Ausgangssignal_setzen 2 1") bAbbruch_ = true;
  };
  if (GetParam().answer)
    ui_.pushAnswer(*GetParam().answer);
  else
    ui_.pushReturn();
  EXPECT_EQ(panel::fraesenAusfuehren(context_), 0);

  const auto boxes = ui_.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, panel::abbruchFrage(0));
  EXPECT_EQ(boxes[0].caption, "Tessaly");
  EXPECT_EQ(boxes[0].buttons, platform::MsgButtons::YesNo);
  EXPECT_EQ(boxes[0].defaultButton, MsgResult::No);
  const Strings calls = backend_->calls();
  const Strings beforeQuestion(calls.begin(), calls.begin() + static_cast<long>(callsAtQuestion_));
  // Every output goes off, the extraction too although its check box is not ticked.
  EXPECT_EQ(Strings(beforeQuestion.end() - 3, beforeQuestion.end()),
            (Strings{"Ausgangssignal_setzen 1 0", "Ausgangssignal_setzen 2 0", "Ausgangssignal_setzen 3 0"}));
  const Strings afterQuestion(calls.begin() + static_cast<long>(callsAtQuestion_), calls.end());
  const bool moved = std::any_of(afterQuestion.begin(), afterQuestion.end(),
                                 [](const std::string& c) { return c.rfind("Vektorfahrt", 0) == 0; });
  EXPECT_EQ(moved, GetParam().travelsBack);
  EXPECT_FALSE(bAbbruch_.load());
}

INSTANTIATE_TEST_SUITE_P(Answers, StoppedRun,
                         ::testing::Values(StopCase{MsgResult::Yes, true}, StopCase{MsgResult::No, false},
                                           StopCase{std::nullopt, false}));

TEST_F(MillingRun, AFailureHaltsTheAxesAndSwitchesEveryOutputOffBeforeTheCodeIsReported) {
  backend_->onCall = [](const std::string& call, int) {
    if (call == "Ausgangssignal_setzen 2 1") throw 1009;
    if (call == "Achsen_anhalten") throw 1012;            // a failing halt must not stop the switch-off
    if (call == "Ausgangssignal_setzen 1 0") throw 1006;  // nor a failing switch-off the others
  };
  EXPECT_EQ(panel::fraesenAusfuehren(context_), 1009);
  const Strings calls = backend_->calls();
  EXPECT_EQ(Strings(calls.end() - 4, calls.end()), (Strings{"Achsen_anhalten", "Ausgangssignal_setzen 1 0",
                                                            "Ausgangssignal_setzen 2 0", "Ausgangssignal_setzen 3 0"}));
  EXPECT_TRUE(ui_.messageBoxes().empty());
  // A failed run leaves no stop request behind for the next one.
  EXPECT_FALSE(bAbbruch_.load());
}

TEST_F(MillingRun, AStaleStopRequestIsClearedWhenTheRunIsTaken) {
  machine::MachineParameterStore store;
  store.assign(params_);
  store.bAbbruch = true;
  const panel::RunSnapshot snapshot = panel::takeRunSnapshot(form_, store);
  EXPECT_FALSE(store.bAbbruch.load());
  EXPECT_EQ(snapshot.params.xWerkstücknullpunkt, 10.0);
  EXPECT_EQ(snapshot.form.DatenStringGrid.RowCount(), 3);
}

struct AfterCase {
  int choice;
  std::string lastCall;
  friend std::ostream& operator<<(std::ostream& os, const AfterCase& c) { return os << c.choice; }
};

class AfterMachining : public MillingRun, public ::testing::WithParamInterface<AfterCase> {};

TEST_P(AfterMachining, PerformsTheChosenStepWithoutAsking) {
  form_.KuehlmittelpumpeCheckBox.Checked = false;
  form_.SpindelmotorCheckBox.Checked = false;
  form_.nachBearbeitungRadioGroup.ItemIndex = GetParam().choice;
  params_.xParkposition = 1.0;
  EXPECT_EQ(panel::fraesenAusfuehren(context_), 0);
  const Strings calls = backend_->calls();
  EXPECT_EQ(calls.back(), GetParam().lastCall);
}

INSTANTIATE_TEST_SUITE_P(Choices, AfterMachining,
                         ::testing::Values(AfterCase{0, "Vektorfahrt_ausfuehren 1 2 0 0 2000"},
                                           AfterCase{1, "Vektorfahrt_ausfuehren 1 2 0 -10000 0"},
                                           AfterCase{2, "Referenzfahrt_ausfuehren zxy"},
                                           AfterCase{7, "Vektorfahrt_ausfuehren 1 2 0 0 2000"}));

// A simulated panel run draws from the workpiece zero, where the tool is: the travel line to a
// text's first stroke starts at the origin (pixel (40, 500)), wherever the redraw left the pen.
TEST_F(MillingRun, ASimulationDrawsTheTravelToTheFirstStrokeFromTheWorkpieceZero) {
  paneltest::writeFont("normal.cxf", paneltest::fontFile("normal", "0.25 0.4 9", {"[I] 1", "L 0,0,0,9"}));
  types_[KonturTyp::Text] = panel::standardObjectTypes()[KonturTyp::Text];
  panel::appendObjectRow(form_, "TEXT",
                         {{1, "links"}, {2, "10"}, {3, "20"}, {4, "I"}, {5, "normal.cxf"}, {6, "9"}, {7, "-0.5"}});
  form_.DatenStringGrid.setCells(11, 1, "nein");  // the point before it is not cut
  form_.SimulationslaufCheckBox.Checked = true;
  form_.DrawLeerfahrten = true;
  context_.canvas = &canvas_;
  canvas_.moveTo(700, 10);
  EXPECT_EQ(panel::fraesenAusfuehren(context_), 0);
  const auto travels = canvas_.opsOf(testsupport::CanvasOp::Kind::LineTo);
  const auto first = std::find_if(travels.begin(), travels.end(), [&](const testsupport::CanvasOp& op) {
    return op.pen.colour == form_.Farben.FarbeLeerfahrt;
  });
  ASSERT_NE(first, travels.end());
  EXPECT_EQ(first->from, (platform::Point{40, 500}));
  EXPECT_EQ(first->args, (std::vector<int>{80, 420}));
}

TEST_F(MillingRun, AnEmptyKindMillsNothingAndAPlotCutsAtTheDefaultDepth) {
  form_.Dokumenttyp = panel::DocumentKind::None;
  std::vector<std::pair<panel::DocumentKind, double>> formatRuns;
  context_.formatRun = [&](panel::DocumentKind kind, double penUp, double penDown) {
    EXPECT_EQ(penUp, 0.0);
    formatRuns.emplace_back(kind, penDown);
  };
  EXPECT_EQ(panel::fraesenAusfuehren(context_), 0);
  EXPECT_TRUE(traceStartingWith("[").empty());
  EXPECT_EQ(traceCount("vor Bearbeitung() :: Fertig"), 1);

  form_.Dokumenttyp = panel::DocumentKind::Hpgl;
  EXPECT_EQ(panel::fraesenAusfuehren(context_), 0);
  ASSERT_EQ(formatRuns.size(), 1u);
  EXPECT_EQ(formatRuns[0].first, panel::DocumentKind::Hpgl);
  EXPECT_DOUBLE_EQ(formatRuns[0].second, 6.0);
}

// The fixture's safety height of 1e28 mm (held at 1e9 when read) would have overflowed the step
// arithmetic: the run ends at the first move that the controller could not take, with the code
// of its own, nothing of that move sent and every output switched off.
TEST_F(MillingRun, AMoveOutOfTheStepRangeEndsTheRunBeforeItIsSent) {
  ASSERT_TRUE(panel::DokumentOeffnen(form_, testsupport::fixture("riesig.tvx"), ui_));
  form_.Dokumenttyp = panel::DocumentKind::Panel;
  form_.SpindelmotorCheckBox.Checked = true;
  const panel::ObjectTypeTable types = panel::standardObjectTypes();
  panel::RunContext run{form_, types, layer_, motion_};
  EXPECT_EQ(panel::fraesenAusfuehren(run), machine::STEP_RANGE_ERROR);
  for (const auto& move : moves()) {
    std::istringstream fields(move);
    long long value = 0;
    while (fields >> value) EXPECT_LE(std::llabs(value), machine::kMaxSchritte) << move;
  }
  EXPECT_EQ(traceStartingWith("    cncMoveTo").size(), 1u);
  const Strings calls = backend_->calls();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(Strings(calls.end() - 3, calls.end()),
            (Strings{"Ausgangssignal_setzen 1 0", "Ausgangssignal_setzen 2 0", "Ausgangssignal_setzen 3 0"}));
}

}  // namespace
