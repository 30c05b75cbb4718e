// The parameter, homing and jogging dialogs on Qt's offscreen platform: each is opened, its
// buttons pressed, and the model, the parameter file and the simulated Beryl's log checked.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <memory>
#include <string>

#include "DialogTestBase.h"
#include "SyncSim.h"
#include "machine/ControllerBackends.h"
#include "machine/MachineParameters.h"
#include "machine/SharedParameters.h"
#include "machine/dialogs/HomingDialog.h"
#include "machine/dialogs/JoggingDialog.h"
#include "machine/dialogs/ParameterDialog.h"
#include "machine/dialogs/qt/HomingDialogView.h"
#include "machine/dialogs/qt/JoggingDialogView.h"
#include "machine/dialogs/qt/ParameterDialogView.h"
#include "machine/sync/TBeryl.h"
#include "platform/Clock.h"
#include "platform/ProgramPath.h"
#include "platform/TextFile.h"
#include "platform/qt/QtGuiDispatcher.h"
#include "support/ScriptedUi.h"

namespace {

constexpr int kTimeoutMs = 20000;

// A colour as the models keep it (0xBBGGRR).
QColor bgr(int value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

// A dark desktop theme for as long as it lives.
class DarkTheme {
 public:
  DarkTheme() : previous_(QApplication::palette()) {
    QPalette dark;
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) dark.setColor(role, QColor(40, 40, 40));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
      dark.setColor(role, QColor(220, 220, 220));
    QApplication::setPalette(dark);
  }
  ~DarkTheme() { QApplication::setPalette(previous_); }

 private:
  QPalette previous_;
};

}  // namespace

class MachineDialogsTest : public machinetest::DialogTestBase {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void theParameterDialogChoosesATypeAndSavesOnOk();
  void theParameterDialogsCancelWritesNothing();
  void theParameterDialogShowsItsSixColoursOnADarkThemeAndHasAFixedSize();
  void aClickIntoTheAddressEditChoosesTheAddress();
  void theHomingDialogHomesAndStoresTheAxesOnClose();
  void theHomingDialogShowsItsShapeAndBoxColoursOnADarkTheme();
  void theJoggingDialogJogsByButtonAndKeyAndTeachesAPosition();

 private:
  static QLabel* label(QWidget* parent, const char* text) {
    for (auto* l : parent->findChildren<QLabel*>())
      if (l->text() == QString::fromUtf8(text)) return l;
    qFatal("no label %s", text);
  }
  std::string parameterFile() const {
    std::string bytes;
    platform::readFileBytes(store->snapshot().Parameterdatei, bytes);
    return bytes;
  }
  bool fileHas(const std::string& line) const { return parameterFile().find(line + "\r\n") != std::string::npos; }
  bool received(const std::string& bytes) const { return sim->received().find(bytes) != std::string::npos; }

  std::unique_ptr<peers::SyncSim> sim;
};

void MachineDialogsTest::init() {
  machine::Maschinenparameter p;
  machine::Parameter_Vorbelegen(p);
  p.Modul = 2;
  p.ComPort = 9;
  p.Baudrate = 19200;
  prepare(p);
  sim = std::make_unique<peers::SyncSim>("Korund-Beryl V2.4", std::chrono::milliseconds(30));
  ::setenv("VELTRIS_COM9", sim->devicePath().c_str(), 1);
  auto beryl = std::make_unique<machine::TBeryl>(ui, *gui, platform::systemClock());
  QVERIFY(beryl->Verbinden("COM9"));
  backends.Beryl = std::move(beryl);
}

void MachineDialogsTest::cleanup() {
  backends.Beryl.reset();
  sim.reset();
  release();
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

void MachineDialogsTest::theParameterDialogShowsItsSixColoursOnADarkThemeAndHasAFixedSize() {
  const DarkTheme dark;
  const QPalette theme = QApplication::palette();
  machine::TParameterDlg model(services(), [] { return std::vector<std::string>{}; });
  // Six colours apart: main area, second area, texts on each, headings on each.
  model.Farben = {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x0A0B0C};
  const auto f = [&](std::size_t i) { return bgr(model.Farben[i]); };
  machineqt::ParameterDialogView view(model);
  view.open();
  child<QRadioButton>(&view, "Garnet_RadioButton")->click();

  QCOMPARE(child<QWidget>(&view, "TabSheet1")->palette().color(QPalette::Window), f(0));
  QVERIFY(child<QWidget>(&view, "TabSheet1")->autoFillBackground());
  QCOMPARE(label(&view, "x-Achse:")->palette().color(QPalette::WindowText), f(2));
  QCOMPARE(label(&view, "Startgeschwindigkeit:")->palette().color(QPalette::WindowText), f(2));
  QCOMPARE(label(&view, "Übersetzung mm/U")->palette().color(QPalette::WindowText), f(4));
  for (const char* area : {"modulPanel", "lptcomPanel", "SteuersignalRadioGroup", "RefFreqGroupBox"}) {
    QCOMPARE(child<QWidget>(&view, area)->palette().color(QPalette::Window), f(1));
    QVERIFY(child<QWidget>(&view, area)->autoFillBackground());
  }
  QCOMPARE(child<QGroupBox>(&view, "modulPanel")->palette().color(QPalette::WindowText), f(5));
  QCOMPARE(child<QLabel>(&view, "lptcomLabel")->palette().color(QPalette::WindowText), f(5));
  QCOMPARE(child<QRadioButton>(&view, "Garnet_RadioButton")->palette().color(QPalette::WindowText), f(3));
  QCOMPARE(child<QRadioButton>(&view, "lptRadioButton1")->palette().color(QPalette::WindowText), f(3));
  // The group's items are made anew at each activation and still get the second area's text.
  for (auto* item : child<QGroupBox>(&view, "RuhestromRadioGroup")->findChildren<QRadioButton*>())
    QCOMPARE(item->palette().color(QPalette::WindowText), f(3));
  // Edits and the marks of the radio buttons keep the theme's text on the theme's base.
  for (QWidget* w :
       std::initializer_list<QWidget*>{child<QLineEdit>(&view, "lptEdit"), child<QLineEdit>(&view, "xGeschwMaskEdit1"),
                                       child<QRadioButton>(&view, "lptRadioButton2")}) {
    QCOMPARE(w->palette().color(QPalette::Text), theme.color(QPalette::Text));
    QCOMPARE(w->palette().color(QPalette::Base), theme.color(QPalette::Base));
  }

  // A dialog border: the user cannot resize it.
  QCOMPARE(view.minimumSize(), view.maximumSize());
  QVERIFY(view.width() >= 640 && view.height() >= 429);
  view.reject();
}

void MachineDialogsTest::aClickIntoTheAddressEditChoosesTheAddress() {
  store->update([](machine::Maschinenparameter& p) {
    p.Modul = 0;
    p.LPTAdresse = 888;
  });
  machine::TParameterDlg model(services(), [] { return std::vector<std::string>{}; });
  machineqt::ParameterDialogView view(model);
  view.open();
  QVERIFY(child<QRadioButton>(&view, "lptRadioButton1")->isChecked());
  QTest::mouseClick(child<QLineEdit>(&view, "lptEdit"), Qt::LeftButton);
  QVERIFY(child<QRadioButton>(&view, "lptRadioButton3")->isChecked());
  QVERIFY(!child<QRadioButton>(&view, "lptRadioButton1")->isChecked());
  QTest::mouseClick(child<QPushButton>(&view, "modulOKBitBtn"), Qt::LeftButton);
  QVERIFY(fileHas("LPTAdresse=57184"));  // 0xDF60
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

void MachineDialogsTest::theHomingDialogShowsItsShapeAndBoxColoursOnADarkTheme() {
  const DarkTheme dark;
  const QPalette theme = QApplication::palette();
  machine::TReferenzfahrtForm model(services());
  model.Hintergrundfarbe = 0x3535FF;
  model.Schriftfarbe = 0xFFFFFF;
  machineqt::HomingDialogView view(model);
  view.open();
  for (const char* area : {"Shape", "Panel"}) {
    QCOMPARE(child<QWidget>(&view, area)->palette().color(QPalette::Window), bgr(0x3535FF));
    QVERIFY(child<QWidget>(&view, area)->autoFillBackground());
  }
  for (const char* name : {"xCheckBox", "yCheckBox", "zCheckBox", "uCheckBox"}) {
    auto* box = child<QCheckBox>(&view, name);
    QVERIFY(box->autoFillBackground());
    QCOMPARE(box->palette().color(box->backgroundRole()), bgr(0x3535FF));
    QCOMPARE(box->palette().color(QPalette::WindowText), bgr(0xFFFFFF));
    // The mark stays the theme's, readable on the theme's base.
    QCOMPARE(box->palette().color(QPalette::Text), theme.color(QPalette::Text));
  }
  QVERIFY(view.close());
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
