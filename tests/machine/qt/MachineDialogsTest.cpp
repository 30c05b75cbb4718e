// The parameter, homing and jogging dialogs on Qt's offscreen platform: each is opened, its
// buttons pressed, and the model, the parameter file and the simulated Beryl's log checked.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <memory>
#include <string>

#include "SyncSim.h"
#include "machine/ControllerBackends.h"
#include "machine/HomingDialog.h"
#include "machine/JoggingDialog.h"
#include "machine/MachineParameters.h"
#include "machine/ParameterDialog.h"
#include "machine/SharedParameters.h"
#include "machine/TBeryl.h"
#include "machine/qt/HomingDialogView.h"
#include "machine/qt/JoggingDialogView.h"
#include "machine/qt/ParameterDialogView.h"
#include "platform/Clock.h"
#include "platform/ProgramPath.h"
#include "platform/TextFile.h"
#include "platform/qt/QtGuiDispatcher.h"
#include "support/ScriptedUi.h"

namespace {

constexpr int kTimeoutMs = 20000;

}  // namespace

class MachineDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void theParameterDialogChoosesATypeAndSavesOnOk();
  void theParameterDialogsCancelWritesNothing();
  void theHomingDialogHomesAndStoresTheAxesOnClose();
  void theJoggingDialogJogsByButtonAndKeyAndTeachesAPosition();

 private:
  template <class W>
  W* child(QWidget* parent, const char* name) {
    auto* w = parent->findChild<W*>(QString::fromLatin1(name));
    if (w == nullptr) qFatal("no child %s", name);
    return w;
  }
  std::string parameterFile() const {
    std::string bytes;
    platform::readFileBytes(store->snapshot().Parameterdatei, bytes);
    return bytes;
  }
  bool fileHas(const std::string& line) const { return parameterFile().find(line + "\r\n") != std::string::npos; }
  bool received(const std::string& bytes) const { return sim->received().find(bytes) != std::string::npos; }
  machine::MachineDialogServices services() { return {ui, *gui, platform::systemClock(), *store, backends}; }

  std::unique_ptr<QTemporaryDir> folder;
  testsupport::ScriptedUi ui;
  std::unique_ptr<platform::QtGuiDispatcher> gui;
  std::unique_ptr<machine::MachineParameterStore> store;
  std::unique_ptr<peers::SyncSim> sim;
  machine::ControllerBackends backends;
};

void MachineDialogsTest::init() {
  folder = std::make_unique<QTemporaryDir>();
  platform::setProgramFolder(folder->path().toStdString());
  gui = std::make_unique<platform::QtGuiDispatcher>();
  store = std::make_unique<machine::MachineParameterStore>();
  machine::Maschinenparameter p;
  machine::Parameter_Vorbelegen(p);
  p.Modul = 2;
  p.ComPort = 9;
  p.Baudrate = 19200;
  p.Parameterdatei = (folder->path() + QStringLiteral("/veltris_param.dat")).toStdString();
  store->assign(p);
  sim = std::make_unique<peers::SyncSim>("Korund-Beryl V2.4", std::chrono::milliseconds(30));
  ::setenv("VELTRIS_COM9", sim->devicePath().c_str(), 1);
  auto beryl = std::make_unique<machine::TBeryl>(ui, *gui, platform::systemClock());
  QVERIFY(beryl->Verbinden("COM9"));
  backends.Beryl = std::move(beryl);
}

void MachineDialogsTest::cleanup() {
  backends.Beryl.reset();
  sim.reset();
  store.reset();
  gui.reset();
  folder.reset();
  ui.clear();
}

void MachineDialogsTest::theParameterDialogChoosesATypeAndSavesOnOk() {
  machine::TParameterDlg model(services(), [] { return std::vector<std::string>{"COM1", "COM9"}; });
  machineqt::ParameterDialogView view(model);
  view.open();
  QCOMPARE(view.windowTitle(), QStringLiteral("Beryl - Parameter"));
  QCOMPARE(child<QComboBox>(&view, "BaudrateComboBox")->count(), 1);

  child<QRadioButton>(&view, "Kyro_RadioButton")->click();
  QCOMPARE(view.windowTitle(), QStringLiteral("Basalt-Kyro - Parameter"));
  QCOMPARE(store->snapshot().Modul, 3);
  QCOMPARE(store->snapshot().UBetrieb, 1);
  QVERIFY(!child<QLineEdit>(&view, "uUebersetzMaskEdit")->isHidden());

  auto* start = child<QLineEdit>(&view, "xGeschwMaskEdit1");
  start->clear();
  QTest::keyClicks(start, "350");
  auto* nr = child<QLineEdit>(&view, "xRefNrMaskEdit");
  nr->clear();
  QTest::keyClicks(nr, "9");
  QTest::mouseClick(child<QPushButton>(&view, "ReferenzOKBitBtn"), Qt::LeftButton);
  QVERIFY(!view.isVisible());
  QCOMPARE(model.Ergebnis, 1);
  QCOMPARE(store->snapshot().Startfreq, 350);
  QVERIFY(fileHas("Modul=3"));
  QVERIFY(fileHas("Startfreq=350"));
  QVERIFY(fileHas("xRefNr=4"));
  QVERIFY(fileHas("ComPort=9"));
}

void MachineDialogsTest::theParameterDialogsCancelWritesNothing() {
  machine::TParameterDlg model(services(), [] { return std::vector<std::string>{}; });
  machineqt::ParameterDialogView view(model);
  view.open();
  child<QRadioButton>(&view, "Garnet_RadioButton")->click();
  QVERIFY(!child<QWidget>(&view, "lptPanel")->isHidden());
  QVERIFY(child<QWidget>(&view, "comPanel")->isHidden());
  QTest::mouseClick(child<QPushButton>(&view, "modulAbbrechenBitBtn"), Qt::LeftButton);
  QVERIFY(!view.isVisible());
  QCOMPARE(model.Ergebnis, 0);
  QCOMPARE(store->snapshot().Modul, 0);
  QVERIFY(parameterFile().empty());
}

void MachineDialogsTest::theHomingDialogHomesAndStoresTheAxesOnClose() {
  machine::TReferenzfahrtForm model(services());
  machineqt::HomingDialogView view(model);
  view.open();
  QVERIFY(model.workerLaeuft());
  QTRY_VERIFY_WITH_TIMEOUT(received("#Dz,0,9,9,9\r"), kTimeoutMs);
  auto* z = child<QCheckBox>(&view, "zCheckBox");
  QVERIFY(z->isChecked());
  z->click();
  QVERIFY(!model.zCheckBox.Checked);

  sim->clearLog();
  QTest::mouseClick(child<QPushButton>(&view, "StartenBitBtn"), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(received("$Hxy\x01"), kTimeoutMs);
  QTRY_VERIFY_WITH_TIMEOUT(!model.referenzfahrtLaeuft(), kTimeoutMs);
  QVERIFY(child<QPushButton>(&view, "StartenBitBtn")->isEnabled());
  QVERIFY(!child<QPushButton>(&view, "SchliessenBitBtn")->isHidden());

  QTest::mouseClick(child<QPushButton>(&view, "SchliessenBitBtn"), Qt::LeftButton);
  QVERIFY(!view.isVisible());
  QVERIFY(!model.workerLaeuft());
  QVERIFY(fileHas("RefAktiv[2]=0"));
}

void MachineDialogsTest::theJoggingDialogJogsByButtonAndKeyAndTeachesAPosition() {
  machine::TManuelleFahrtForm model(services());
  machineqt::JoggingDialogView view(model);
  view.open();
  QVERIFY(model.workerLaeuft());
  child<QRadioButton>(&view, "Schrittweite2")->click();
  QCOMPARE(model.Schrittweite, 1.0);

  sim->clearLog();
  QTest::mouseClick(child<QPushButton>(&view, "xPos_BitBtn"), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(received("L8,x400\x01"), kTimeoutMs);
  QTRY_VERIFY_WITH_TIMEOUT(!model.faehrt(), kTimeoutMs);
  QCOMPARE(model.aktStringGrid[1][1], std::string("  1.00"));

  // Keyboard control: the Up arrow moves y in the negative direction.
  child<QCheckBox>(&view, "TastaturCheckBox")->click();
  QVERIFY(model.TastaturChecked);
  QTest::keyClick(child<QPushButton>(&view, "xPos_BitBtn"), Qt::Key_Up);
  QTRY_VERIFY_WITH_TIMEOUT(received("L8,y-400\x01"), kTimeoutMs);
  QTRY_VERIFY_WITH_TIMEOUT(!model.faehrt(), kTimeoutMs);
  QTRY_COMPARE_WITH_TIMEOUT(model.aktStringGrid[1][2], std::string("  -1.00"), kTimeoutMs);

  // The park position (row 2) takes the current position; closing saves it.
  QVERIFY(model.posStringGridSelectCell(0, 2));
  QTest::mouseClick(child<QPushButton>(&view, "ZuweisenBitBtn"), Qt::LeftButton);
  QCOMPARE(store->snapshot().xParkposition, 1.0);
  QTest::mouseClick(child<QPushButton>(&view, "SchliessenBitBtn"), Qt::LeftButton);
  QVERIFY(!view.isVisible());
  QVERIFY(fileHas("xParkposition=1.00"));
  QVERIFY(fileHas("yParkposition=-1.00"));
}

QTEST_MAIN(MachineDialogsTest)
#include "MachineDialogsTest.moc"
