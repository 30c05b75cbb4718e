// The machine dialogs and the keyboard, against the simulated protocol controller: Return and
// Enter in every widget of the jogging, homing and parameter dialogs move nothing and save
// nothing, and the step width typed into the jogging dialog is the width of the next jog.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "DialogTestBase.h"
#include "ZelkoSim.h"
#include "machine/ControllerBackends.h"
#include "machine/MachineParameters.h"
#include "machine/SharedParameters.h"
#include "machine/dialogs/HomingDialog.h"
#include "machine/dialogs/JoggingDialog.h"
#include "machine/dialogs/ParameterDialog.h"
#include "machine/dialogs/qt/HomingDialogView.h"
#include "machine/dialogs/qt/JoggingDialogView.h"
#include "machine/dialogs/qt/ParameterDialogView.h"
#include "machine/serial/ZelkoCom.h"
#include "platform/Clock.h"
#include "platform/ProgramPath.h"
#include "platform/qt/QtGuiDispatcher.h"
#include "support/ScriptedUi.h"
#include "support/qt/ReturnKeys.h"

namespace {

constexpr int kTimeoutMs = 20000;
constexpr int kPort = 7;

QString named(QWidget* w, const char* key) {
  return QStringLiteral("%1 %2 %3")
      .arg(QLatin1String(w->metaObject()->className()), w->objectName(), QLatin1String(key));
}

}  // namespace

class MachineDialogKeysTest : public machinetest::DialogTestBase {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void returnAndEnterInTheJoggingDialogMoveNothing();
  void returnAndEnterInTheHomingDialogStartNoHoming();
  void returnAndEnterInTheParameterDialogSaveNothing();
  void aTypedStepWidthIsTheWidthOfTheNextJog();

 private:
  // The commands the controller received since `from`.
  std::vector<std::string> commandsSince(std::size_t from) const {
    const auto all = sim->commands();
    return {all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())), all.end()};
  }
  static bool anyStartsWith(const std::vector<std::string>& commands, const std::string& prefix) {
    return std::any_of(commands.begin(), commands.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
  }
  // The jog moves received since `from`.
  std::vector<std::string> jogsSince(std::size_t from) const {
    std::vector<std::string> out;
    for (const auto& c : commandsSince(from))
      if (c.rfind("L8,", 0) == 0) out.push_back(c);
    return out;
  }

  std::unique_ptr<peers::ZelkoSim> sim;
};

void MachineDialogKeysTest::init() {
  machine::Maschinenparameter p;
  machine::Parameter_Vorbelegen(p);
  p.ComPort = kPort;
  prepare(p);
  sim = std::make_unique<peers::ZelkoSim>();
  ::setenv("VELTRIS_COM7", sim->devicePath().c_str(), 1);
  auto zelko = std::make_unique<machine::TzelkoCOM>(ui, platform::systemClock());
  try {
    zelko->Init(kPort, p.Baudrate);
    zelko->Connect();
  } catch (int code) {
    QFAIL(qPrintable(QStringLiteral("no link: %1").arg(code)));
  }
  backends.zelkoCOM = std::move(zelko);
}

void MachineDialogKeysTest::cleanup() {
  if (backends.zelkoCOM) backends.zelkoCOM->UnInit();
  backends.zelkoCOM.reset();
  sim.reset();
  release();
}

void MachineDialogKeysTest::returnAndEnterInTheJoggingDialogMoveNothing() {
  machine::TManuelleFahrtForm model(services());
  machineqt::JoggingDialogView view(model);
  view.open();
  QTRY_VERIFY_WITH_TIMEOUT(!model.faehrt(), kTimeoutMs);
  // Keyboard control on: Return is no jog key either.
  child<QCheckBox>(&view, "TastaturCheckBox")->click();
  QVERIFY(model.TastaturChecked);
  const std::size_t before = sim->commands().size();

  const int tried = testsupport::returnAndEnterEverywhere(&view, [&](QWidget* w, const char* key) {
    QVERIFY2(!model.faehrt(), qPrintable(named(w, key)));
    QVERIFY2(view.isVisible(), qPrintable(named(w, key)));
  });
  if (QTest::currentTestFailed()) return;
  QVERIFY2(tried >= 15, qPrintable(QString::number(tried)));

  const auto sent = commandsSince(before);
  QVERIFY(!anyStartsWith(sent, "L") && !anyStartsWith(sent, "$H"));

  // A click jogs, once.
  QTest::mouseClick(child<QPushButton>(&view, "xPos_BitBtn"), Qt::LeftButton);
  QVERIFY(model.faehrt());
  QTRY_VERIFY_WITH_TIMEOUT(!model.faehrt(), kTimeoutMs);
  QCOMPARE(jogsSince(before).size(), std::size_t{1});
  QVERIFY(model.OnClose());
}

void MachineDialogKeysTest::returnAndEnterInTheHomingDialogStartNoHoming() {
  machine::TReferenzfahrtForm model(services());
  machineqt::HomingDialogView view(model);
  view.open();
  const std::size_t before = sim->commands().size();

  const int tried = testsupport::returnAndEnterEverywhere(&view, [&](QWidget* w, const char* key) {
    QVERIFY2(!model.referenzfahrtLaeuft(), qPrintable(named(w, key)));
    QVERIFY2(view.isVisible(), qPrintable(named(w, key)));
  });
  if (QTest::currentTestFailed()) return;
  QVERIFY2(tried >= 6, qPrintable(QString::number(tried)));
  QVERIFY(!anyStartsWith(commandsSince(before), "$H"));

  // The click homes.
  QTest::mouseClick(child<QPushButton>(&view, "StartenBitBtn"), Qt::LeftButton);
  QVERIFY(model.referenzfahrtLaeuft());
  QTRY_VERIFY_WITH_TIMEOUT(anyStartsWith(commandsSince(before), "$H"), kTimeoutMs);
  QTRY_VERIFY_WITH_TIMEOUT(!model.referenzfahrtLaeuft(), kTimeoutMs);
  QVERIFY(model.OnClose());
}

void MachineDialogKeysTest::returnAndEnterInTheParameterDialogSaveNothing() {
  machine::TParameterDlg model(services(), [] { return std::vector<std::string>{"COM1", "COM7"}; });
  machineqt::ParameterDialogView view(model);
  view.open();
  auto* seiten = child<QTabWidget>(&view, "PageControl");
  int tried = 0;
  for (int tab = 0; tab < seiten->count(); ++tab) {
    seiten->setCurrentIndex(tab);
    tried += testsupport::returnAndEnterEverywhere(&view, [&](QWidget* w, const char* key) {
      QVERIFY2(view.isVisible(), qPrintable(named(w, key)));
      QVERIFY2(model.Ergebnis == 0, qPrintable(named(w, key)));
    });
    if (QTest::currentTestFailed()) return;
  }
  QVERIFY2(tried >= 30, qPrintable(QString::number(tried)));
  QVERIFY(!QFile::exists(QString::fromStdString(store->snapshot().Parameterdatei)));
  view.reject();
}

void MachineDialogKeysTest::aTypedStepWidthIsTheWidthOfTheNextJog() {
  machine::TManuelleFahrtForm model(services());
  machineqt::JoggingDialogView view(model);
  view.open();
  view.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&view));
  QTRY_VERIFY_WITH_TIMEOUT(!model.faehrt(), kTimeoutMs);
  auto* edit = child<QLineEdit>(&view, "SchrittweiteMaskEdit");
  auto* frei = child<QRadioButton>(&view, "Schrittweite3");

  // The edit reached by a click, by Tab, and left by Return, by a click on a jog button, or by a
  // jog key; 400 steps per millimetre.
  struct Case {
    const char* name;
    bool byTab;
    const char* typed;
    Qt::Key endKey;      // Qt::Key_unknown: none
    const char* button;  // the jog button clicked, or null for the key below
    Qt::Key jogKey;      // with keyboard control on
    const char* jog;
    double width;
  };
  const Case cases[] = {
      {"click, button", false, "2.00", Qt::Key_unknown, "xNeg_BitBtn", Qt::Key_unknown, "L8,x-800", 2.0},
      {"Tab, Return, button", true, "0,25", Qt::Key_Return, "yPos_BitBtn", Qt::Key_unknown, "L8,y100", 0.25},
      {"click, Enter, button", false, "1.5", Qt::Key_Enter, "zPos_BitBtn", Qt::Key_unknown, "L8,z600", 1.5},
      {"click, jog key", false, "0.5", Qt::Key_unknown, nullptr, Qt::Key_Right, "L8,x200", 0.5},
  };
  for (const Case& c : cases) {
    // Another width is chosen first, so that only the edit can choose the free one.
    child<QRadioButton>(&view, "Schrittweite0")->click();
    QVERIFY2(!frei->isChecked(), c.name);
    if (c.byTab) {
      child<QRadioButton>(&view, "Schrittweite0")->setFocus(Qt::MouseFocusReason);
      for (int i = 0; i < 6 && QApplication::focusWidget() != edit; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QVERIFY2(edit->hasFocus(), c.name);
    } else {
      QTest::mouseClick(edit, Qt::LeftButton);
    }
    QVERIFY2(frei->isChecked(), c.name);
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromLatin1(c.typed));
    if (c.endKey != Qt::Key_unknown)
      QTest::keyClick(edit, c.endKey, c.endKey == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QVERIFY2(!model.faehrt(), c.name);

    const std::size_t before = sim->commands().size();
    if (c.button != nullptr) {
      QTest::mouseClick(child<QPushButton>(&view, c.button), Qt::LeftButton);
    } else {
      child<QCheckBox>(&view, "TastaturCheckBox")->setChecked(true);
      edit->setFocus(Qt::MouseFocusReason);
      QTest::keyClick(edit, c.jogKey);
    }
    QVERIFY2(model.faehrt(), c.name);
    QTRY_VERIFY_WITH_TIMEOUT(!model.faehrt(), kTimeoutMs);
    QCOMPARE(jogsSince(before), std::vector<std::string>{c.jog});
    QCOMPARE(model.Schrittweite, c.width);
    QVERIFY2(frei->isChecked(), c.name);
    QTRY_COMPARE_WITH_TIMEOUT(child<QCheckBox>(&view, "TastaturCheckBox")->isEnabled(), true, kTimeoutMs);
    child<QCheckBox>(&view, "TastaturCheckBox")->setChecked(false);
  }
  QVERIFY(model.OnClose());
}

QTEST_MAIN(MachineDialogKeysTest)
#include "MachineDialogKeysTest.moc"
