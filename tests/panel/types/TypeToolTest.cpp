// TOOL rows on a recorded controller: the speeds sent and the parameter record restored, the
// switch, simulations with and without a controller, a failing controller, a whole run, and the
// refused commits.
#include <gtest/gtest.h>

#include <ostream>

#include "MachineFixture.h"
#include "panel/MillingRun.h"
#include "panel/ObjectTypes.h"
#include "panel/PropertyRows.h"
#include "panel/types/TypeTool.h"

namespace {

using Strings = std::vector<std::string>;

const Strings kToolSpeeds = {"Startgeschwindigkeit_einstellen 300", "Endgeschwindigkeit_einstellen 0 300",
                             "Endgeschwindigkeit_einstellen 1 500", "Endgeschwindigkeit_einstellen 2 700",
                             "Rampenlaenge_einstellen 150"};

class ToolRows : public paneltest::MachineFixture {
 protected:
  ToolRows() { row_ = panel::appendObjectRow(form_, "TOOL", {{1, "300"}, {2, "500"}, {3, "700"}, {4, "150"}}); }

  void mill() {
    panel::MillContext context{form_, types_, motion_};
    context.steuerung = &layer_;
    context.bSteuerungVerbunden = connected_;
    types_[panel::KonturTyp::Tool].millRow(context, form_.DatenStringGrid, row_);
  }

  Strings speedCalls() const {
    Strings out;
    for (const auto& call : backend_->calls())
      if (call.find("geschwindigkeit_einstellen") != std::string::npos || call.rfind("Rampen", 0) == 0)
        out.push_back(call);
    return out;
  }

  void expectParametersUnchanged() const {
    EXPECT_EQ(params_.Startfreq, 200);
    EXPECT_EQ(params_.Arbeitsfreq, 400);
    EXPECT_EQ(params_.Eilfreq, 600);
    EXPECT_EQ(params_.Rampenlaenge, 200);
  }

  panel::ObjectTypeTable types_ = panel::standardObjectTypes();
  int row_ = 0;
  bool connected_ = true;
};

TEST_F(ToolRows, AnActiveRowSendsItsSpeedsAndPutsTheRecordsOwnBack) {
  mill();
  const Strings sent = speedCalls();
  // The reference speed follows the tool's four values.
  ASSERT_GE(sent.size(), kToolSpeeds.size());
  EXPECT_EQ(Strings(sent.begin(), sent.begin() + 5), kToolSpeeds);
  expectParametersUnchanged();
}

struct SwitchCase {
  const char* aktiv;
  bool simulation;
  bool connected;
  bool sends;
  friend std::ostream& operator<<(std::ostream& os, const SwitchCase& c) {
    return os << c.aktiv << (c.simulation ? " simulated" : " live") << (c.connected ? " connected" : "");
  }
};

class ToolSwitch : public ToolRows, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(ToolSwitch, SendsOnlyWhenActiveAndInASimulationOnlyToAConnectedController) {
  form_.DatenStringGrid.setCells(11, row_, GetParam().aktiv);
  form_.SimulationslaufCheckBox.Checked = GetParam().simulation;
  connected_ = GetParam().connected;
  mill();
  EXPECT_EQ(speedCalls().empty(), !GetParam().sends);
  expectParametersUnchanged();
}

INSTANTIATE_TEST_SUITE_P(Cases, ToolSwitch,
                         ::testing::Values(SwitchCase{"ja", false, true, true}, SwitchCase{"nein", false, true, false},
                                           SwitchCase{"ja", true, false, false}, SwitchCase{"ja", true, true, true},
                                           SwitchCase{"true", true, true, true}));

TEST_F(ToolRows, AFailingControllerStillGetsTheRecordsSpeedsBack) {
  backend_->onCall = [](const std::string& call, int) {
    if (call.rfind("Rampenlaenge_einstellen", 0) == 0) throw 1008;
  };
  try {
    mill();
    FAIL() << "the failure code must pass through";
  } catch (int code) {
    EXPECT_EQ(code, 1008);
  }
  expectParametersUnchanged();
}

TEST_F(ToolRows, ASimulatedRunWithoutAControllerPassesToolRowsBy) {
  form_.Dokumenttyp = panel::DocumentKind::Panel;
  form_.SimulationslaufCheckBox.Checked = true;
  panel::appendObjectRow(form_, "PUNKT", {{1, "5.00"}, {2, "5.00"}, {3, "-1.00"}});
  panel::RunContext run{form_, types_, layer_, motion_};
  EXPECT_EQ(panel::fraesenAusfuehren(run), 0);
  EXPECT_TRUE(backend_->calls().empty());

  run.bSteuerungVerbunden = true;
  EXPECT_EQ(panel::fraesenAusfuehren(run), 0);
  const Strings sent = speedCalls();
  ASSERT_GE(sent.size(), kToolSpeeds.size());
  EXPECT_EQ(Strings(sent.begin(), sent.begin() + 5), kToolSpeeds);
}

TEST_F(ToolRows, ALiveRunSendsTheToolBetweenTheRunsOwnInitialisations) {
  form_.Dokumenttyp = panel::DocumentKind::Panel;
  panel::RunContext run{form_, types_, layer_, motion_};
  run.bSteuerungVerbunden = true;
  EXPECT_EQ(panel::fraesenAusfuehren(run), 0);
  const Strings starts = backend_->callsStartingWith("Startgeschwindigkeit_einstellen");
  EXPECT_EQ(starts, (Strings{"Startgeschwindigkeit_einstellen 200", "Startgeschwindigkeit_einstellen 300"}));
  expectParametersUnchanged();
}

struct CommitCase {
  const char* typed;
  bool accepted;
  friend std::ostream& operator<<(std::ostream& os, const CommitCase& c) { return os << '"' << c.typed << '"'; }
};

class ToolCommit : public ToolRows, public ::testing::WithParamInterface<CommitCase> {};

TEST_P(ToolCommit, TakesPositiveNumbersAsTypedAndRefusesEverythingElseWithABeep) {
  int beeps = 0;
  form_.FehlerSignal = [&] { ++beeps; };
  panel::Tool_EigenschaftenAnzeigen(form_, row_);
  form_.EigenschaftenStringGrid.setCells(1, 2, GetParam().typed);
  panel::Tool_EigenschaftenUebernehmen(form_, row_);
  const std::string expected = GetParam().accepted ? GetParam().typed : "500";
  EXPECT_EQ(form_.DatenStringGrid.Cells(2, row_), expected);
  EXPECT_EQ(form_.EigenschaftenStringGrid.Cells(1, 2), expected);
  EXPECT_EQ(beeps, GetParam().accepted ? 0 : 1);
  EXPECT_EQ(form_.DatenStringGrid.Cells(1, row_), "300");
}

INSTANTIATE_TEST_SUITE_P(Values, ToolCommit,
                         ::testing::Values(CommitCase{"450", true}, CommitCase{"450.7", true}, CommitCase{"1", true},
                                           CommitCase{"abc", false}, CommitCase{"", false}, CommitCase{"0", false},
                                           CommitCase{"0.5", false}, CommitCase{"-400", false}));

}  // namespace
