// The program's end against the simulated controller, on Qt's offscreen platform: SIGTERM during
// a live job stops the job, switches the outputs off and closes the window the normal way, with
// the trace log gone; and a controller that falls silent after the stop button ends the job
// through its failure path and leaves the program unconnected but able to close.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "TestPointType.h"
#include "ZelkoSim.h"
#include "app/MainForm.h"
#include "app/qt/MainWindow.h"
#include "machine/DefaultBackendFactory.h"
#include "machine/SharedParameters.h"
#include "machine/TraceLog.h"
#include "platform/ProgramPath.h"
#include "platform/TerminationSignals.h"
#include "platform/qt/QtCanvas.h"
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
    W* widget = window_->findChild<W*>(QString::fromLatin1(name));
    if (widget == nullptr) qFatal("no widget %s", name);
    return widget;
  }
  bool runActive() { return child<QPushButton>("AnhaltenBitBtn")->isVisible(); }
  void startLiveJob();

  std::unique_ptr<peers::ZelkoSim> sim_;
  std::unique_ptr<QTemporaryDir> folder_;
  std::filesystem::path previousFolder_;
  testsupport::ScriptedUi ui_;
  std::unique_ptr<platform::QtGuiDispatcher> gui_;
  std::unique_ptr<platform::QtCanvas> canvas_;
  std::unique_ptr<machine::DefaultBackendFactory> factory_;
  std::unique_ptr<machine::MachineParameterStore> params_;
  panel::ObjectTypeTable types_ = apptest::TestPointType::table();
  std::unique_ptr<app::TMainForm> form_;
  std::unique_ptr<platform::TerminationSignals> signals_;
  std::unique_ptr<appqt::MainWindow> window_;
};

void ControllerEndTest::init() {
  sim_ = std::make_unique<peers::ZelkoSim>();
  sim_->setMoveDuration(std::chrono::milliseconds(200));
  // The parameter file is missing: the defaults name COM1.
  ::setenv("VELTRIS_COM1", sim_->devicePath().c_str(), 1);
  folder_ = std::make_unique<QTemporaryDir>();
  QVERIFY(folder_->isValid());
  previousFolder_ = platform::programFolder();
  const std::filesystem::path folder = folder_->path().toStdString();
  gui_ = std::make_unique<platform::QtGuiDispatcher>();
  canvas_ = std::make_unique<platform::QtCanvas>(platform::Size{400, 300});
  factory_ = std::make_unique<machine::DefaultBackendFactory>(ui_);
  params_ = std::make_unique<machine::MachineParameterStore>();
  form_ = std::make_unique<app::TMainForm>(app::MainFormServices{ui_,
                                                                 *gui_,
                                                                 *canvas_,
                                                                 platform::systemClock(),
                                                                 *factory_,
                                                                 *params_,
                                                                 types_,
                                                                 folder / "veltris",
                                                                 {},
                                                                 [](const std::filesystem::path&) { return true; }});
  form_->OnCreate({"veltris"});
  form_->NeuesDokument();
  apptest::TestPointType::appendRows(*form_, kPoints);
  signals_ = std::make_unique<platform::TerminationSignals>();
  window_ = std::make_unique<appqt::MainWindow>(*form_, *canvas_);
  window_->watchTerminationSignals(*signals_);
  window_->show();
  QTRY_VERIFY_WITH_TIMEOUT(form_->bInitFertig, kTimeoutMs);
  QVERIFY(form_->bSteuerungVerbunden);
}

void ControllerEndTest::cleanup() {
  window_.reset();
  signals_.reset();
  form_.reset();
  params_.reset();
  factory_.reset();
  canvas_.reset();
  gui_.reset();
  ui_.clear();
  platform::setProgramFolder(previousFolder_);
  folder_.reset();
  sim_.reset();
  apptest::TestPointType::reset();
}

void ControllerEndTest::startLiveJob() {
  form_->SpindelmotorCheckBox.Checked = true;
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
  QTRY_VERIFY_WITH_TIMEOUT(!window_->isVisible(), kTimeoutMs);

  QVERIFY(!form_->laeuft());
  QVERIFY(!sim_->moving());
  const auto afterStop = commandsAfter(sim_->commands(), "@B");
  for (const char* off : {"A1,0", "A2,0", "A3,0"}) QVERIFY2(contains(afterStop, off), off);
  // No question was asked on the way out, and the log went with the normal close.
  QVERIFY(ui_.messageBoxes().empty());
  QVERIFY(!std::filesystem::exists(machine::Protokolldatei()));
  window_.reset();
  form_.reset();
  QVERIFY(!std::filesystem::exists(machine::Protokolldatei()));
}

void ControllerEndTest::aControllerSilentAfterTheStopEndsTheJobAndLeavesTheProgramUnconnected() {
  startLiveJob();
  sim_->setSilent(true);
  QTest::mouseClick(child<QPushButton>("AnhaltenBitBtn"), Qt::LeftButton);
  // The job ends once the stop's bound for the final answer has run out.
  QTRY_VERIFY_WITH_TIMEOUT(!runActive(), kTimeoutMs);
  QVERIFY(!form_->bSteuerungVerbunden);
  QCOMPARE(child<QLabel>("StatusBarPanel0")->text(), QStringLiteral("--- keine Verbindung ---"));
  QVERIFY(!child<QPushButton>("FraesenStartenBitBtn")->isEnabled());
  const auto boxes = ui_.messageBoxes();
  QCOMPARE(boxes.size(), std::size_t{2});
  QCOMPARE(QString::fromStdString(boxes[0].text), QStringLiteral("WAIT_TIMEOUT"));  // the unanswered stop
  QCOMPARE(QString::fromStdString(boxes[1].text), QStringLiteral("WAIT_FAILED"));   // the job's end
  // And the program closes.
  ui_.pushAnswer(platform::MsgResult::Yes);
  QVERIFY(window_->close());
  QVERIFY(!std::filesystem::exists(machine::Protokolldatei()));
}

QTEST_MAIN(ControllerEndTest)
#include "ControllerEndTest.moc"
