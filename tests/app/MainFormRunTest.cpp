// Runs of the main window on its worker: the lock of the window and the progress carried to the
// GUI thread, the snapshot, a second start while running, the stop with its question, stale stop
// requests, failure codes, the status after a run, and a close or destruction during a run.
#include <chrono>
#include <fstream>
#include <new>
#include <ostream>

#include "MainFormFixture.h"
#include "machine/FailureCodes.h"
#include "panel/MillingRun.h"
#include "platform/Event.h"

namespace {

using apptest::MainFormTest;
using apptest::TestPointType;
using platform::MsgResult;

constexpr auto kGenerous = std::chrono::seconds(20);

class MainFormRun : public MainFormTest {
 protected:
  // Three points; a controller when `attached`.
  void startWithPoints(bool attached) {
    factory_.attached = attached;
    start();
    TestPointType::appendRows(form(), 3);
  }

  // Runs `action` on the GUI thread when the worker reaches `row`, and lets the worker go on
  // only when it has run.
  void onRow(int row, std::function<void()> action) {
    TestPointType::onMill = [this, row, action = std::move(action)](int milled) {
      if (milled == row) gui_.invokeAndWait(action);
    };
  }
};

TEST_F(MainFormRun, ASimulationRunsOnTheWorkerWithTheWindowLockedAndShowsItsProgress) {
  startWithPoints(false);
  form().Nutzenfertigung.xNFAnzahl = 3;
  form().Nutzenfertigung.yNFAnzahl = 2;
  form().SimulationslaufTrackBar.Position = 2;
  form().SimulationslaufTrackBarOnChange();

  runSimulation();

  EXPECT_EQ(traceCount("[3] PUNKT"), 1);
  EXPECT_EQ(form().FortschrittsanzeigeProgressBar.Max, 3);
  const std::vector<int>& shown = view_->progress;
  for (int row : {1, 2, 3}) EXPECT_NE(std::find(shown.begin(), shown.end(), row), shown.end()) << row;
  EXPECT_EQ(shown.back(), 0);
  // Every change shown during the run showed the window locked, and it is unlocked after it.
  ASSERT_FALSE(view_->lockedStates.empty());
  EXPECT_EQ(std::count(view_->lockedStates.begin(), view_->lockedStates.end(), false), 0);
  EXPECT_TRUE(form().FraesenStartenBitBtn.Visible);
  EXPECT_FALSE(form().AnhaltenBitBtn.Visible);
  EXPECT_TRUE(form().SimulationslaufCheckBox.Enabled);
  EXPECT_TRUE(form().MenuEinstellungen.Enabled);
  EXPECT_GT(view_->repaints, 0);
  // The slider's pace reached the worker: 12 ms after each simulated move.
  const auto sleeps = clock_.sleeps();
  EXPECT_NE(std::find(sleeps.begin(), sleeps.end(), 12000), sleeps.end());
  // Without multi-up production the run sets the document's copy counts to 1.
  EXPECT_EQ(form().Nutzenfertigung.xNFAnzahl, 1);
  EXPECT_EQ(form().Nutzenfertigung.yNFAnzahl, 1);
  EXPECT_TRUE(ui_.messageBoxes().empty());
}

TEST_F(MainFormRun, TheRunGoesByItsSnapshotWhateverTheWindowDoesMeanwhile) {
  factory_.attached = true;
  startWithPoints(true);
  // Unticking the simulation box during the run must not turn it into a live job.
  onRow(1, [this] {
    form().SimulationslaufCheckBox.Checked = false;
    form().SimulationslaufCheckBoxOnClick();
  });
  runSimulation();
  EXPECT_EQ(traceCount("[3] PUNKT"), 1);
  EXPECT_TRUE(factory_.controller.callsStartingWith("Vektorfahrt").empty());
}

TEST_F(MainFormRun, TwoQuickClicksStartOneRunAndTheNextClickAfterItStartsAnother) {
  startWithPoints(false);
  platform::Event reached;
  platform::Event release;
  TestPointType::onMill = [&](int row) {
    if (row != 1) return;
    reached.set();
    release.wait();
  };
  form().SimulationslaufCheckBox.Checked = true;
  form().SimulationslaufCheckBoxOnClick();
  form().FraesenStartenBitBtnClick();
  ASSERT_EQ(reached.wait(kGenerous), platform::WaitResult::Signalled);
  form().FraesenStartenBitBtnClick();
  release.set();
  ASSERT_TRUE(waitForRunEnd());
  EXPECT_EQ(traceCount("cncFraesen()"), 1);

  TestPointType::onMill = nullptr;
  form().FraesenStartenBitBtnClick();
  ASSERT_TRUE(waitForRunEnd());
  EXPECT_EQ(traceCount("cncFraesen()"), 2);
}

struct StopCase {
  MsgResult answer;
  bool travelsToThePark;
  friend std::ostream& operator<<(std::ostream& os, const StopCase& c) {
    return os << (c.answer == MsgResult::Yes ? "Yes" : "No");
  }
};

class StoppedLiveRun : public MainFormRun, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StoppedLiveRun, AsksAfterTheStopAndTravelsOnlyOnYes) {
  startWithPoints(true);
  params_.update([](machine::Maschinenparameter& p) {
    p.xParkposition = 20.0;
    p.yParkposition = 30.0;
  });
  form().nachBearbeitungRadioGroup.ItemIndex = 1;
  ui_.pushAnswer(GetParam().answer);
  onRow(2, [this] { form().AnhaltenBitBtnClick(); });

  form().FraesenStartenBitBtnClick();
  ASSERT_TRUE(waitForRunEnd());

  EXPECT_EQ(factory_.controller.callsStartingWith("Achsen_anhalten").size(), 1u);
  EXPECT_EQ(traceCount("[3] PUNKT"), 0);
  const auto boxes = ui_.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, panel::abbruchFrage(1));
  EXPECT_EQ(boxes[0].caption, "Tessaly");
  EXPECT_EQ(boxes[0].buttons, platform::MsgButtons::YesNo);
  const bool atThePark = factory_.controller.Wert_lesen('x') == 8000 && factory_.controller.Wert_lesen('y') == 12000;
  EXPECT_EQ(atThePark, GetParam().travelsToThePark);
  EXPECT_FALSE(params_.bAbbruch);
  // The position read after the run is the one the controller reports.
  EXPECT_EQ(form().StatusBar[2].substr(0, 18), " akt. Position:   ");
  EXPECT_EQ(form().StatusBar[2].find(" 20.00") != std::string::npos, GetParam().travelsToThePark);
}

INSTANTIATE_TEST_SUITE_P(Answers, StoppedLiveRun,
                         ::testing::Values(StopCase{MsgResult::Yes, true}, StopCase{MsgResult::No, false}));

TEST_F(MainFormRun, EscapeStopsASimulationWithoutAQuestion) {
  startWithPoints(false);
  onRow(2, [this] { form().OnKeyPress(27); });
  runSimulation();
  EXPECT_EQ(traceCount("cncNachBearbeitung(1)"), 1);
  EXPECT_EQ(traceCount("[3] PUNKT"), 0);
  EXPECT_TRUE(ui_.messageBoxes().empty());
  EXPECT_FALSE(params_.bAbbruch);
}

TEST_F(MainFormRun, AStopRequestOutsideARunNeverEndsTheNextRun) {
  startWithPoints(false);
  // Escape with nothing running is ignored.
  form().OnKeyPress(27);
  form().AnhaltenBitBtnClick();
  EXPECT_FALSE(params_.bAbbruch);
  // A request left over from before (a stop that came after the last move) is cleared at the start.
  params_.bAbbruch = true;
  runSimulation();
  EXPECT_EQ(traceCount("[3] PUNKT"), 1);
  EXPECT_EQ(traceCount("cncNachBearbeitung(0)"), 1);
}

struct FailureCase {
  int modul;
  bool boxShown;
  friend std::ostream& operator<<(std::ostream& os, const FailureCase& c) { return os << "type " << c.modul; }
};

class FailedRun : public MainFormRun, public ::testing::WithParamInterface<FailureCase> {
 protected:
  // A run with the controller type of the case whose second row fails with `code`.
  void runFailingWith(int code) {
    startWithPoints(false);
    params_.update([](machine::Maschinenparameter& p) { p.Modul = GetParam().modul; });
    TestPointType::failRow = 2;
    TestPointType::failCode = code;
    runSimulation();
  }
};

TEST_P(FailedRun, ShowsTheCodeOnlyForTheProtocolControllers) {
  runFailingWith(machine::ACK_ERROR);

  const auto boxes = ui_.messageBoxes();
  ASSERT_EQ(boxes.size(), GetParam().boxShown ? 1u : 0u);
  if (GetParam().boxShown) {
    EXPECT_EQ(boxes[0].text, "ACK_ERROR");
    EXPECT_EQ(boxes[0].caption, "Tessaly");
    EXPECT_EQ(boxes[0].icon, platform::MsgIcon::Warning);
  }
  EXPECT_TRUE(form().FraesenStartenBitBtn.Visible);
  EXPECT_EQ(traceCount("[3] PUNKT"), 0);
}

INSTANTIATE_TEST_SUITE_P(Types, FailedRun,
                         ::testing::Values(FailureCase{5, true}, FailureCase{6, true}, FailureCase{12, true},
                                           FailureCase{3, false}, FailureCase{0, false}));

// A move refused for its step range reached no driver, so no driver has shown it: the box comes
// whatever the controller type.
TEST_P(FailedRun, AMoveOutOfTheStepRangeIsShownForEveryController) {
  runFailingWith(machine::STEP_RANGE_ERROR);

  const auto boxes = ui_.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "### Fahrweg außerhalb des Schrittbereichs der Steuerung ###");
  EXPECT_EQ(boxes[0].caption, "Tessaly");
}

// A fault that is no failure code (out of memory) in the middle of a live run ends it like a
// failure: the axes halted, every output off whatever the check boxes say, the window out of its
// run state, and the fault shown in the program's box.
TEST_F(MainFormRun, AFaultThatIsNoFailureCodeEndsALiveRunThroughTheFailurePath) {
  startWithPoints(true);
  form().SpindelmotorCheckBox.Checked = false;
  form().KuehlmittelpumpeCheckBox.Checked = false;
  form().AbsaugungCheckBox.Checked = false;
  TestPointType::onMill = [](int row) {
    if (row == 2) throw std::bad_alloc();
  };
  form().FraesenStartenBitBtnClick();
  ASSERT_TRUE(waitForRunEnd());

  EXPECT_EQ(traceCount("[3] PUNKT"), 0);
  EXPECT_EQ(factory_.controller.callsStartingWith("Achsen_anhalten").size(), 1u);
  EXPECT_EQ(factory_.controller.callsStartingWith("Ausgangssignal_setzen"),
            (std::vector<std::string>{"Ausgangssignal_setzen 1 0", "Ausgangssignal_setzen 2 0",
                                      "Ausgangssignal_setzen 3 0"}));
  const auto boxes = ui_.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, std::bad_alloc().what());
  EXPECT_EQ(boxes[0].caption, "Tessaly");
  EXPECT_EQ(boxes[0].icon, platform::MsgIcon::Error);
  EXPECT_TRUE(form().FraesenStartenBitBtn.Visible);
  EXPECT_FALSE(form().AnhaltenBitBtn.Visible);
  EXPECT_TRUE(form().MenuDatei.Enabled);
  // The window closes again.
  form().bEntwicklungsmodus = true;
  EXPECT_TRUE(form().OnCloseQuery());
}

TEST_F(MainFormRun, APositionReadFailureAfterARunShowsDashes) {
  startWithPoints(true);
  factory_.positionFailure = machine::WAIT_TIMEOUT;
  runSimulation();
  EXPECT_EQ(form().StatusBar[2], " akt. Position:   -  -  -");
  EXPECT_GE(traceCount("StatusBarAktualisieren(): Position nicht lesbar, Fehlercode 1012"), 1);
  EXPECT_TRUE(ui_.messageBoxes().empty());
}

TEST_F(MainFormRun, TheWindowRefusesToCloseWhileARunIsActive) {
  startWithPoints(false);
  ui_.pushAnswer(MsgResult::Yes);
  bool refusedDuringRun = false;
  onRow(2, [&] { refusedDuringRun = !form().OnCloseQuery(); });
  runSimulation();
  EXPECT_TRUE(refusedDuringRun);
  // The refusal asked nothing; the answer waits for the close after the run.
  EXPECT_TRUE(ui_.messageBoxes().empty());
  // It is heard, so that the user knows the close was not lost.
  const auto beeps = ui_.beeps();
  ASSERT_EQ(beeps.size(), 1u);
  EXPECT_EQ(beeps[0].hz, 440u);
  EXPECT_EQ(beeps[0].ms, 100u);
  EXPECT_TRUE(form().OnCloseQuery());
  EXPECT_EQ(ui_.messageBoxes().size(), 1u);
}

TEST_F(MainFormRun, DestroyingTheWindowDuringARunStopsTheRunAndEndsTheWorker) {
  startWithPoints(true);
  platform::Event reached;
  // The worker waits for the GUI thread when the window goes.
  TestPointType::onMill = [&](int row) {
    if (row != 1) return;
    reached.set();
    gui_.invokeAndWait([] {});
  };
  form().FraesenStartenBitBtnClick();
  ASSERT_EQ(reached.wait(kGenerous), platform::WaitResult::Signalled);
  form_.reset();
  EXPECT_EQ(factory_.controller.callsStartingWith("Achsen_anhalten").size(), 1u);
  EXPECT_EQ(traceCount("[2] PUNKT"), 0);
  // The stopped live run's question is not asked of a window that is going.
  EXPECT_TRUE(ui_.messageBoxes().empty());
}

}  // namespace

namespace {

// An opened plot is cut at the document's default depth, from the copy of the plot taken when the
// run was posted: a plot opened while the run goes does not reach it.
TEST_F(MainFormRun, AnOpenedPlotIsCutFromTheCopyTakenWhenTheRunWasPosted) {
  factory_.attached = true;
  start();
  const auto first = folder() / "erster.plt";
  std::ofstream(first) << "IN;PU0,0;PD400,0;";
  const auto second = folder() / "zweiter.plt";
  std::ofstream(second) << "IN;PU0,0;PD0,800;";
  form().ZuletztGeoeffneteDateiOeffnen(first.string());
  ASSERT_EQ(form().Dokumenttyp, panel::DocumentKind::Hpgl);

  form().FraesenStartenBitBtnClick();
  form().ZuletztGeoeffneteDateiOeffnen(second.string());
  ASSERT_TRUE(waitForRunEnd());

  EXPECT_EQ(traceCount("    cncLineTo(1, 10.00, 0.00, 6.00)"), 1);
  EXPECT_EQ(traceCount("    cncLineTo(1, 0.00, 20.00, 6.00)"), 0);
  EXPECT_FALSE(factory_.controller.callsStartingWith("Vektorfahrt").empty());
  EXPECT_TRUE(ui_.messageBoxes().empty());
}

}  // namespace
