// The main window's end: termination signals (stop the job, outputs off, the normal close, a
// second signal ends at once), a run that loses its link, and a trace log that stays deleted.
#include <filesystem>

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
