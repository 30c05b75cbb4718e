// The program's end against the simulated controller, on Qt's offscreen platform: SIGTERM during
// a live job stops the job, switches the outputs off and closes the window the normal way, with
// the trace log gone; and a controller that falls silent after the stop button ends the job
// through its failure path and leaves the program unconnected but able to close.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
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

QTEST_MAIN(ControllerEndTest)
#include "ControllerEndTest.moc"
