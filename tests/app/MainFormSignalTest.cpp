// The main window's end: termination signals (stop the job, outputs off, the normal close, a
// second signal ends at once), a run that loses its link, and a trace log that stays deleted.
#include <algorithm>
#include <filesystem>
#include <functional>

#include "MainFormFixture.h"
#include "machine/FailureCodes.h"
#include "platform/Event.h"

namespace {

using apptest::MainFormTest;
using apptest::TestPointType;
using platform::MsgResult;

constexpr int kSigterm = 15;
const std::vector<std::string> kOutputsOff{"Ausgangssignal_setzen 1 0", "Ausgangssignal_setzen 2 0",
                                           "Ausgangssignal_setzen 3 0"};

// Records what the model asks of its window at the end.
class ClosingView final : public app::TMainFormView {
 public:
  void showState() override {}
  void PaintBoxOnPaint() override {}
  void closeWindow() override { ++closes; }
  void endProgram(int status) override { ends.push_back(status); }
  int closes = 0;
  std::vector<int> ends;
};

class MainFormEnd : public MainFormTest {
 protected:
  void startConnected() {
    factory_.attached = true;
    create();
    closingView_ = std::make_unique<ClosingView>();
    form().setView(closingView_.get());
    form().OnActivate();
    form().InitTimerTimer();
    ASSERT_TRUE(form().bSteuerungVerbunden);
    TestPointType::appendRows(form(), 3);
  }

  std::vector<std::string> outputCalls() const {
    return factory_.controller.callsStartingWith("Ausgangssignal_setzen");
  }

  std::unique_ptr<ClosingView> closingView_;
};

TEST_F(MainFormEnd, ASignalWithoutARunSwitchesTheOutputsOffAndClosesAfterTheSaveQuestionOnly) {
  startConnected();
  form().bGeaendert = true;
  form().OnTerminationSignal(kSigterm);
  EXPECT_EQ(outputCalls(), kOutputsOff);
  EXPECT_EQ(closingView_->closes, 1);
  // The close the window then runs: the changed document is offered, the end is not questioned.
  ui_.pushAnswer(MsgResult::No);
  EXPECT_TRUE(form().OnCloseQuery());
  const auto boxes = ui_.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Möchten Sie die Datei speichern?\n");
}

TEST_F(MainFormEnd, ASignalDuringARunStopsItAndClosesOnceItHasEnded) {
  startConnected();
  platform::Event reached;
  TestPointType::onMill = [&](int row) {
    if (row != 1) return;
    reached.set();
    // The signal comes while the worker is in the job.
    gui_.invokeAndWait([this] { form().OnTerminationSignal(kSigterm); });
  };
  form().FraesenStartenBitBtnClick();
  ASSERT_TRUE(waitForRunEnd());
  EXPECT_EQ(factory_.controller.callsStartingWith("Achsen_anhalten").size(), 1u);
  EXPECT_EQ(traceCount("[2] PUNKT"), 0);
  // The job's stop path asks nothing of a program that is going, and moves nowhere after it.
  EXPECT_TRUE(ui_.messageBoxes().empty());
  EXPECT_EQ(closingView_->closes, 1);
  const auto outputs = outputCalls();
  ASSERT_GE(outputs.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(outputs.end() - 3, outputs.end()), kOutputsOff);
  EXPECT_TRUE(form().OnCloseQuery());
}

// A worker of a dialog that talks to the controller, as one of these cases starts it.
struct DialogWork {
  const char* name;
  std::function<void(app::TMainForm&)> start;
  // The controller call during which the signal comes.
  std::string during;
  friend std::ostream& operator<<(std::ostream& os, const DialogWork& w) { return os << w.name; }
};

class SignalDuringDialogWork : public MainFormEnd, public ::testing::WithParamInterface<DialogWork> {};

// The worker is stopped like a job, and the outputs go off and the window closes only once it has
// ended: nothing else runs into its exchange with the controller, and the link stays open for it.
TEST_P(SignalDuringDialogWork, StopsItAndClosesOnceItHasEnded) {
  startConnected();
  bool seen = false;
  factory_.controller.onCall = [&](const std::string& call, int) {
    if (seen || call.rfind(GetParam().during, 0) != 0) return;
    seen = true;
    gui_.invokeAndWait([this] {
      form().OnTerminationSignal(kSigterm);
      EXPECT_TRUE(outputCalls().empty());
      EXPECT_EQ(closingView_->closes, 0);
      // The window does not close under the worker.
      EXPECT_FALSE(form().OnCloseQuery());
    });
  };
  GetParam().start(form());
  ASSERT_TRUE(gui_.drainUntil([this] { return closingView_->closes > 0; }));
  factory_.controller.onCall = nullptr;
  ASSERT_TRUE(seen);
  EXPECT_EQ(closingView_->closes, 1);

  // The stop, then nothing more that moves; the outputs off come last.
  const auto calls = factory_.controller.calls();
  const auto stop = std::find(calls.begin(), calls.end(), "Achsen_anhalten");
  ASSERT_NE(stop, calls.end());
  EXPECT_EQ(std::count_if(stop, calls.end(),
                          [](const std::string& c) {
                            return c.rfind("Vektorfahrt", 0) == 0 || c.rfind("Referenzfahrt", 0) == 0;
                          }),
            0);
  ASSERT_GE(calls.size(), kOutputsOff.size());
  EXPECT_EQ(std::vector<std::string>(calls.end() - 3, calls.end()), kOutputsOff);
  EXPECT_TRUE(ui_.messageBoxes().empty());
  EXPECT_TRUE(form().OnCloseQuery());
}

INSTANTIATE_TEST_SUITE_P(Dialogs, SignalDuringDialogWork,
                         ::testing::Values(DialogWork{"Homing",
                                                      [](app::TMainForm& f) {
                                                        f.ReferenzfahrtForm.OnActivate();
                                                        f.ReferenzfahrtForm.StartenBitBtnOnClick();
                                                      },
                                                      "Referenzfahrt_ausfuehren"},
                                           DialogWork{"Jogging",
                                                      [](app::TMainForm& f) {
                                                        f.ManuelleFahrtForm.OnActivate();
                                                        f.ManuelleFahrtForm.xPosBitBtn_OnClick();
                                                      },
                                                      "Vektorfahrt_ausfuehren"},
                                           // Homing z comes first; x and y must not follow it.
                                           DialogWork{"ToolLengthMeasurement",
                                                      [](app::TMainForm& f) {
                                                        f.WZLMessungForm.OnActivate(machine::Maschinenparameter{});
                                                        f.WZLMessungForm.StartenBitBtnClick();
                                                      },
                                                      "Referenzfahrt_ausfuehren z"}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(MainFormEnd, ASecondSignalEndsTheProgramAtOnceWithTheOutputsOff) {
  startConnected();
  form().bGeaendert = true;
  form().OnTerminationSignal(kSigterm);
  // The save question is open when the second signal comes.
  form().OnTerminationSignal(2);
  EXPECT_EQ(closingView_->ends, std::vector<int>{128 + 2});
  EXPECT_EQ(outputCalls().size(), 2 * kOutputsOff.size());
}

TEST_F(MainFormEnd, ARunWhoseLinkClosedLeavesTheProgramUnconnected) {
  startConnected();
  TestPointType::onMill = [this](int row) {
    if (row == 2) factory_.controller.open = false;
  };
  TestPointType::failRow = 2;
  TestPointType::failCode = machine::WAIT_FAILED;
  form().FraesenStartenBitBtnClick();
  ASSERT_TRUE(waitForRunEnd());
  EXPECT_FALSE(form().bSteuerungVerbunden);
  EXPECT_EQ(form().StatusBar[0], "--- keine Verbindung ---");
  EXPECT_EQ(form().StatusBar[2], " akt. Position:   -  -  -");
  EXPECT_FALSE(form().FraesenStartenBitBtn.Enabled);
  const auto boxes = ui_.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "WAIT_FAILED");
  // Nothing holds the program open.
  form().bEntwicklungsmodus = true;
  EXPECT_TRUE(form().OnCloseQuery());
}

TEST_F(MainFormEnd, TheTraceLogStaysDeletedAfterTheClose) {
  startConnected();
  ASSERT_TRUE(std::filesystem::exists(machine::Protokolldatei()));
  form().OnClose();
  // The controller link and the worker go with the window, and write nothing any more.
  form_.reset();
  machine::Protokoll_schreiben("after the close");
  EXPECT_FALSE(std::filesystem::exists(machine::Protokolldatei()));
}

}  // namespace
