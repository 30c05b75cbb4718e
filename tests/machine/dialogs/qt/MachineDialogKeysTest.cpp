// The machine dialogs and the keyboard, against the simulated protocol controller: Return and
// Enter in every widget of the jogging, homing and parameter dialogs move nothing and save
// nothing; the step width typed into the jogging dialog is the width of the next jog, and one
// that is no number above 0 is refused; a held jog key ends with the step under way when it is
// let go; and a travel to a stored position on a step/direction controller shows no box.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "DialogTestBase.h"
#include "SimulatedParallelPort.h"
#include "ZelkoSim.h"
#include "machine/ControllerBackends.h"
#include "machine/DefaultBackendFactory.h"
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
#include "support/ManualClock.h"
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
  void aWidthThatIsNoNumberAboveZeroBeepsAndKeepsTheWidth();
  void aHeldJogKeyEndsWithTheStepUnderWayWhenItIsLetGo();
  void aTravelOnAStepDirectionControllerShowsNoBoxAndMoves();

 private:
  // The commands the controller received since `from`.
  std::vector<std::string> commandsSince(std::size_t from) const {
    const auto all = sim->commands();
    return {all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())), all.end()};
  }
  static bool anyStartsWith(const std::vector<std::string>& commands, const std::string& prefix) {
    return std::any_of(commands.begin(), commands.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
  }
  // Shows the jogging dialog as the active window, once its worker has initialised the controller.
  template <class View>
  static bool showActive(View& view, const machine::TManuelleFahrtForm& model) {
    view.open();
    view.activateWindow();
    if (!QTest::qWaitForWindowActive(&view)) return false;
    return QTest::qWaitFor([&] { return !model.faehrt(); }, kTimeoutMs);
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
  QVERIFY(showActive(view, model));
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

void MachineDialogKeysTest::aWidthThatIsNoNumberAboveZeroBeepsAndKeepsTheWidth() {
  machine::TManuelleFahrtForm model(services());
  machineqt::JoggingDialogView view(model);
  QVERIFY(showActive(view, model));
  auto* edit = child<QLineEdit>(&view, "SchrittweiteMaskEdit");
  QTest::mouseClick(edit, Qt::LeftButton);
  edit->selectAll();
  QTest::keyClicks(edit, QStringLiteral("2"));
  QTest::keyClick(edit, Qt::Key_Return);
  QCOMPARE(model.Schrittweite, 2.0);
  QVERIFY(ui.beeps().empty());

  // Left by Return, or by a click on a jog button, which then jogs the width that stayed in the
  // button's direction.
  const struct {
    const char* typed;
    const char* button;
    const char* jog;
  } cases[] = {{"-2", nullptr, nullptr}, {"0", nullptr, nullptr}, {"-2", "xPos_BitBtn", "L8,x800"}};
  std::size_t beeps = 0;
  for (const auto& c : cases) {
    edit->setFocus(Qt::MouseFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromLatin1(c.typed));
    const std::size_t before = sim->commands().size();
    if (c.button == nullptr) {
      QTest::keyClick(edit, Qt::Key_Return);
    } else {
      QTest::mouseClick(child<QPushButton>(&view, c.button), Qt::LeftButton);
      QTRY_VERIFY_WITH_TIMEOUT(!model.faehrt(), kTimeoutMs);
    }
    QCOMPARE(ui.beeps().size(), ++beeps);
    QCOMPARE(model.Schrittweite, 2.0);
    QCOMPARE(edit->text(), QStringLiteral("2.00"));
    QCOMPARE(jogsSince(before), c.jog ? std::vector<std::string>{c.jog} : std::vector<std::string>{});
  }
  QVERIFY(model.OnClose());
}

void MachineDialogKeysTest::aHeldJogKeyEndsWithTheStepUnderWayWhenItIsLetGo() {
  machine::TManuelleFahrtForm model(services());
  machineqt::JoggingDialogView view(model);
  QVERIFY(showActive(view, model));
  child<QCheckBox>(&view, "TastaturCheckBox")->setChecked(true);
  QVERIFY(model.TastaturChecked);
  // The keys go to the width's button, where its click has left the focus. While a step runs
  // the buttons are disabled and Qt moves the focus on, past the width edit: that is no choice
  // of the free width.
  auto* breite = child<QRadioButton>(&view, "Schrittweite2");
  QTest::mouseClick(breite, Qt::LeftButton);
  QVERIFY(breite->hasFocus());
  QWidget* target = breite;
  // As X reports a held key: the press, then pairs of release and press marked as repeats, and
  // the last release. `queued`: the event waits in the queue behind what is there.
  const auto key = [&](QEvent::Type type, bool repeat, bool queued) {
    if (queued) {
      QCoreApplication::postEvent(target, new QKeyEvent(type, Qt::Key_Right, Qt::NoModifier, QString(), repeat));
    } else {
      QKeyEvent event(type, Qt::Key_Right, Qt::NoModifier, QString(), repeat);
      QCoreApplication::sendEvent(target, &event);
    }
  };
  const auto repeat = [&](bool queued) {
    key(QEvent::KeyRelease, true, queued);
    key(QEvent::KeyPress, true, queued);
  };
  const auto serveQueue = [] {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  };

  sim->setMoveDuration(std::chrono::milliseconds(400));
  const std::size_t before = sim->commands().size();
  key(QEvent::KeyPress, false, false);
  QVERIFY(model.faehrt());
  QTRY_VERIFY_WITH_TIMEOUT(sim->moving(), kTimeoutMs);
  // While the step runs, each repeat is dropped at once: twenty of them that each waited for the
  // busy worker would hold the GUI thread a second.
  QElapsedTimer served;
  served.start();
  for (int i = 0; i < 20; ++i) repeat(false);
  QVERIFY2(served.elapsed() < 500, qPrintable(QString::number(served.elapsed())));
  QTRY_VERIFY_WITH_TIMEOUT(!model.faehrt(), kTimeoutMs);
  QCOMPARE(jogsSince(before).size(), std::size_t{1});

  // The key still down with the machine standing: a repeat makes the next step.
  repeat(true);
  QTRY_VERIFY_WITH_TIMEOUT(model.faehrt(), kTimeoutMs);
  QTRY_VERIFY_WITH_TIMEOUT(!model.faehrt(), kTimeoutMs);
  QCOMPARE(jogsSince(before).size(), std::size_t{2});

  // Repeats that waited in the queue while the key came up start nothing.
  const std::size_t atRelease = sim->commands().size();
  for (int i = 0; i < 5; ++i) repeat(true);
  key(QEvent::KeyRelease, false, true);
  serveQueue();
  serveQueue();
  QVERIFY(!model.faehrt());
  QVERIFY(!model.wiederholungWartet());
  QVERIFY(jogsSince(atRelease).empty());
  QCOMPARE(jogsSince(before), (std::vector<std::string>{"L8,x400", "L8,x400"}));
  QCOMPARE(model.SchrittweiteRadioGroup.ItemIndex, 2);
  QVERIFY(model.OnClose());
}

void MachineDialogKeysTest::aTravelOnAStepDirectionControllerShowsNoBoxAndMoves() {
  // A Zircon (type 1) at the simulated parallel port, connected as the main window connects it.
  testsupport::ManualClock clock;
  peers::SimulatedParallelPort port{clock};
  port.setPinLevel(11, false);  // its one limit input, active high: released
  machine::DefaultBackendFactory factory{ui, *gui, clock, [&port] { return port.connection(); }};
  store->update([](machine::Maschinenparameter& p) {
    p.Modul = 1;
    p.xParkposition = 0.5;
    p.yParkposition = 0.25;
  });
  machine::Maschinenparameter p = store->snapshot();
  {
    machine::CommandLayer steuerung(p, backends, store->bAbbruch);
    steuerung.Steuerung_erzeugen(factory);
    steuerung.Schnittstelle_anzeigen();
    QVERIFY(steuerung.Steuerung_verbinden(p.Schnittstellentext));
  }
  struct BackendGone {
    machine::ControllerBackends& backends;
    ~BackendGone() { backends.TaktRicht.reset(); }
  } gone{backends};

  machine::TManuelleFahrtForm model({ui, *gui, clock, *store, backends});
  machineqt::JoggingDialogView view(model);
  view.open();
  QTRY_VERIFY_WITH_TIMEOUT(!model.faehrt(), kTimeoutMs);
  child<QTableWidget>(&view, "posStringGrid")->setCurrentCell(1, 0);
  QCOMPARE(model.PositionsZeile, 2);
  QTest::mouseClick(child<QPushButton>(&view, "AnfahrenBitBtn"), Qt::LeftButton);
  QVERIFY(model.faehrt());
  QTRY_VERIFY_WITH_TIMEOUT(!model.faehrt(), kTimeoutMs);
  QVERIFY(ui.messageBoxes().empty());
  QCOMPARE(port.positions()[0], 200);
  QCOMPARE(port.positions()[1], 100);
  QVERIFY(model.OnClose());
}

QTEST_MAIN(MachineDialogKeysTest)
#include "MachineDialogKeysTest.moc"
