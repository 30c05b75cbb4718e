// The question after a job the user stopped, as the program shows it, against the simulated
// controller: Return and Enter answer it No, and nothing moves afterwards; only a deliberate Yes
// performs the step after machining.
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "WindowRig.h"
#include "ZelkoSim.h"
#include "app/MainForm.h"
#include "machine/DefaultBackendFactory.h"
#include "panel/MillingRun.h"
#include "platform/qt/QtGuiDispatcher.h"
#include "support/ScriptedUi.h"
#include "support/qt/KeyAnsweringUi.h"

namespace {

constexpr int kTimeoutMs = 30000;
constexpr int kPoints = 20;

}  // namespace

class StopQuestionWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void theQuestionAfterAStoppedJobMovesNothingOnReturn_data();
  void theQuestionAfterAStoppedJobMovesNothingOnReturn();

 private:
  bool runActive() { return rig_->child<QPushButton>("AnhaltenBitBtn")->isVisible(); }

  std::unique_ptr<peers::ZelkoSim> sim_;
  // The driver's own boxes (the connection's).
  testsupport::ScriptedUi ui_;
  platform::QtGuiDispatcher gui_;
  std::unique_ptr<testsupport::KeyAnsweringUi> boxes_;
  std::unique_ptr<machine::DefaultBackendFactory> factory_;
  std::unique_ptr<apptest::WindowRig> rig_;
};

void StopQuestionWindowTest::init() {
  sim_ = std::make_unique<peers::ZelkoSim>();
  sim_->setMoveDuration(std::chrono::milliseconds(200));
  // The parameter file is missing: the defaults name COM1.
  ::setenv("VELTRIS_COM1", sim_->devicePath().c_str(), 1);
  factory_ = std::make_unique<machine::DefaultBackendFactory>(ui_, gui_);
  boxes_ = std::make_unique<testsupport::KeyAnsweringUi>();
  rig_ = std::make_unique<apptest::WindowRig>(*factory_, kPoints, apptest::TestPointType::table(),
                                              std::vector<std::string>{"veltris"}, boxes_.get());
  rig_->window->show();
  QTRY_VERIFY_WITH_TIMEOUT(rig_->form->bInitFertig, kTimeoutMs);
  QVERIFY(rig_->form->bSteuerungVerbunden);
}

void StopQuestionWindowTest::cleanup() {
  rig_.reset();
  factory_.reset();
  boxes_.reset();
  sim_.reset();
  ui_.clear();
}

void StopQuestionWindowTest::theQuestionAfterAStoppedJobMovesNothingOnReturn_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<bool>("travels");
  QTest::newRow("Return") << int(Qt::Key_Return) << false;
  QTest::newRow("Enter") << int(Qt::Key_Enter) << false;
  QTest::newRow("a click on Yes") << int(Qt::Key_unknown) << true;
}

void StopQuestionWindowTest::theQuestionAfterAStoppedJobMovesNothingOnReturn() {
  QFETCH(int, key);
  QFETCH(bool, travels);
  const auto k = static_cast<Qt::Key>(key);
  boxes_->setKey(k, k == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
  if (k == Qt::Key_unknown) boxes_->setClick(QMessageBox::Yes);
  // After the job: to the workpiece zero.
  QCOMPARE(rig_->form->nachBearbeitungRadioGroup.ItemIndex, 0);
  QVERIFY(!rig_->child<QCheckBox>("SimulationslaufCheckBox")->isChecked());
  QTest::mouseClick(rig_->child<QPushButton>("FraesenStartenBitBtn"), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(runActive(), kTimeoutMs);
  QTRY_VERIFY_WITH_TIMEOUT(sim_->moving(), kTimeoutMs);

  QTest::mouseClick(rig_->child<QPushButton>("AnhaltenBitBtn"), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!runActive(), kTimeoutMs);
  QCOMPARE(boxes_->texts(), std::vector<std::string>{panel::abbruchFrage(0)});

  const auto commands = sim_->commands();
  const auto stop = std::find(commands.begin(), commands.end(), "@B");
  QVERIFY(stop != commands.end());
  const bool moved = std::any_of(stop, commands.end(), [](const std::string& c) { return c.rfind("L", 0) == 0; });
  QCOMPARE(moved, travels);
}

QTEST_MAIN(StopQuestionWindowTest)
#include "StopQuestionWindowTest.moc"
