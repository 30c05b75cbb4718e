// The program's end against the simulated controller, on Qt's offscreen platform: SIGTERM during
// a live job stops the job, switches the outputs off and closes the window the normal way, with
// the trace log gone; SIGTERM during a program-memory write ends the recording before anything
// else is sent, and closes the dialog and the window; and a controller that falls silent after
// the stop button ends the job through its failure path and leaves the program unconnected but
// able to close.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "TestPointType.h"
#include "WindowRig.h"
#include "ZelkoSim.h"
#include "app/MainForm.h"
#include "app/qt/MainWindow.h"
#include "machine/DefaultBackendFactory.h"
#include "machine/TraceLog.h"
#include "platform/TerminationSignals.h"
#include "platform/qt/QtGuiDispatcher.h"
#include "support/ScriptedUi.h"

namespace {

constexpr int kTimeoutMs = 30000;
constexpr int kPoints = 20;

// The commands the controller received after the first one that begins with `prefix`.
std::vector<std::string> commandsAfter(const std::vector<std::string>& commands, const std::string& prefix) {
  const auto first =
      std::find_if(commands.begin(), commands.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
  if (first == commands.end()) return {};
  return {first + 1, commands.end()};
}

bool contains(const std::vector<std::string>& commands, const std::string& command) {
  return std::find(commands.begin(), commands.end(), command) != commands.end();
}

}  // namespace

class ControllerEndTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void sigtermDuringALiveJobStopsItSwitchesTheOutputsOffAndCloses();
  void aControllerSilentAfterTheStopEndsTheJobAndLeavesTheProgramUnconnected();
  void sigtermDuringAProgramMemoryWriteEndsStoreModeAndCloses();

 private:
  template <class W>
  W* child(const char* name) {
    return rig_->child<W>(name);
  }
  bool runActive() { return child<QPushButton>("AnhaltenBitBtn")->isVisible(); }
  void startLiveJob();

  std::unique_ptr<peers::ZelkoSim> sim_;
  // The driver's own boxes (the connection's); the window's go to the rig's services.
  testsupport::ScriptedUi ui_;
  platform::QtGuiDispatcher gui_;
  std::unique_ptr<machine::DefaultBackendFactory> factory_;
  std::unique_ptr<apptest::WindowRig> rig_;
  std::unique_ptr<platform::TerminationSignals> signals_;
};

void ControllerEndTest::init() {
  sim_ = std::make_unique<peers::ZelkoSim>();
  sim_->setMoveDuration(std::chrono::milliseconds(200));
  // The parameter file is missing: the defaults name COM1.
  ::setenv("VELTRIS_COM1", sim_->devicePath().c_str(), 1);
  signals_ = std::make_unique<platform::TerminationSignals>();
  factory_ = std::make_unique<machine::DefaultBackendFactory>(ui_, gui_);
  rig_ = std::make_unique<apptest::WindowRig>(*factory_, kPoints);
  rig_->window->watchTerminationSignals(*signals_);
  rig_->window->show();
  QTRY_VERIFY_WITH_TIMEOUT(rig_->form->bInitFertig, kTimeoutMs);
  QVERIFY(rig_->form->bSteuerungVerbunden);
}

void ControllerEndTest::cleanup() {
  rig_.reset();
  factory_.reset();
  signals_.reset();
  sim_.reset();
  ui_.clear();
}

void ControllerEndTest::startLiveJob() {
  rig_->form->SpindelmotorCheckBox.Checked = true;
  QVERIFY(!child<QCheckBox>("SimulationslaufCheckBox")->isChecked());
  QTest::mouseClick(child<QPushButton>("FraesenStartenBitBtn"), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(runActive(), kTimeoutMs);
  // The job runs on the controller: the spindle is on and a move is under way.
  QVERIFY(sim_->waitForCommand("A1,1", std::chrono::milliseconds(kTimeoutMs)));
  QTRY_VERIFY_WITH_TIMEOUT(sim_->moving(), kTimeoutMs);
}

void ControllerEndTest::sigtermDuringALiveJobStopsItSwitchesTheOutputsOffAndCloses() {
  startLiveJob();
  ::raise(SIGTERM);
  QTRY_VERIFY_WITH_TIMEOUT(!rig_->window->isVisible(), kTimeoutMs);

  QVERIFY(!rig_->form->laeuft());
  QVERIFY(!sim_->moving());
  const auto afterStop = commandsAfter(sim_->commands(), "@B");
  for (const char* off : {"A1,0", "A2,0", "A3,0"}) QVERIFY2(contains(afterStop, off), off);
  // No question was asked on the way out, and the log went with the normal close.
  QVERIFY(rig_->ui.messageBoxes().empty());
  QVERIFY(!std::filesystem::exists(machine::Protokolldatei()));
  rig_->window.reset();
  rig_->form.reset();
  QVERIFY(!std::filesystem::exists(machine::Protokolldatei()));
}

void ControllerEndTest::aControllerSilentAfterTheStopEndsTheJobAndLeavesTheProgramUnconnected() {
  startLiveJob();
  sim_->setSilent(true);
  QTest::mouseClick(child<QPushButton>("AnhaltenBitBtn"), Qt::LeftButton);
  // The job ends once the stop's bound for the final answer has run out.
  QTRY_VERIFY_WITH_TIMEOUT(!runActive(), kTimeoutMs);
  QVERIFY(!rig_->form->bSteuerungVerbunden);
  QCOMPARE(child<QLabel>("StatusBarPanel0")->text(), QStringLiteral("--- keine Verbindung ---"));
  QVERIFY(!child<QPushButton>("FraesenStartenBitBtn")->isEnabled());
  const auto boxes = rig_->ui.messageBoxes();
  QCOMPARE(boxes.size(), std::size_t{2});
  QCOMPARE(QString::fromStdString(boxes[0].text), QStringLiteral("WAIT_TIMEOUT"));  // the unanswered stop
  QCOMPARE(QString::fromStdString(boxes[1].text), QStringLiteral("WAIT_FAILED"));   // the job's end
  // And the program closes.
  rig_->ui.pushAnswer(platform::MsgResult::Yes);
  QVERIFY(rig_->window->close());
  QVERIFY(!std::filesystem::exists(machine::Protokolldatei()));
}

void ControllerEndTest::sigtermDuringAProgramMemoryWriteEndsStoreModeAndCloses() {
  // The signal comes while the second row is being recorded, and that row waits until the window
  // has taken it, so that it is handled during the write however loaded the machine is.
  std::atomic<bool> signalled{false};
  apptest::TestPointType::onMill = [this, &signalled](int row) {
    if (row != 2) return;
    signalled = true;
    ::raise(SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
    while (!rig_->params.bAbbruch && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  // The dialog runs its own event loop: the write is started from inside it, once the dialog has
  // shown its slots.
  QTimer starter;
  bool started = false;
  connect(&starter, &QTimer::timeout, this, [&] {
    auto* dialog = rig_->window->findChild<QDialog*>(QStringLiteral("FlashDlg"));
    if (started || dialog == nullptr || !dialog->isVisible() || rig_->form->FlashDlg.busy()) return;
    started = true;
    dialog->findChild<QPushButton*>(QStringLiteral("ProgrammSchreibenButton"))->click();
  });
  starter.start(10);
  rig_->ui.pushAnswer(platform::MsgResult::Yes);  // "Wurden alle Fräsparameter richtig eingestellt?"
  bool shown = false;
  QTimer::singleShot(0, this, [&] {
    child<QAction>("MenuAusgabeInFestwertspeicher")->trigger();
    shown = true;
  });
  QTRY_VERIFY_WITH_TIMEOUT(shown, kTimeoutMs);
  QTRY_VERIFY_WITH_TIMEOUT(!rig_->window->isVisible(), kTimeoutMs);
  QVERIFY(signalled);

  // The recording was ended (ETX) before anything else was sent, and what it held of the job
  // erased again; the outputs went off afterwards, on a controller that executes them.
  const auto commands = sim_->commands();
  const auto write = std::find(commands.begin(), commands.end(), "*PW1");
  QVERIFY(write != commands.end());
  const auto etx = std::find(write, commands.end(), std::string(1, '\x03'));
  QVERIFY(etx != commands.end());
  for (const char* off : {"A1,0", "A2,0", "A3,0"}) {
    QVERIFY2(!contains(std::vector<std::string>(write, etx), off), off);
    QVERIFY2(contains(std::vector<std::string>(etx, commands.end()), off), off);
  }
  QVERIFY(contains(std::vector<std::string>(etx, commands.end()), "*PE1"));
  QVERIFY(!sim_->program(1).has_value());
  QVERIFY(!rig_->form->FlashDlg.busy());
  QVERIFY(!rig_->window->findChild<QDialog*>(QStringLiteral("FlashDlg"))->isVisible());
  // The question before the write was the only box.
  QCOMPARE(rig_->ui.messageBoxes().size(), std::size_t{1});
  QVERIFY(!std::filesystem::exists(machine::Protokolldatei()));
}

QTEST_MAIN(ControllerEndTest)
#include "ControllerEndTest.moc"
