// The program-memory and tool-length dialogs on Qt's offscreen platform: the slots in the colours
// of their occupancy, the log pane, the close refused while an operation runs, the tool-length
// memo with its buttons, and Return and Enter, which start nothing in either.
#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QThread>
#include <QToolButton>
#include <atomic>
#include <memory>
#include <string>

#include "app/dialogs/FlashDialog.h"
#include "app/dialogs/ToolLengthDialog.h"
#include "app/dialogs/qt/FlashDialogView.h"
#include "app/dialogs/qt/ToolLengthDialogView.h"
#include "machine/FailureCodes.h"
#include "platform/qt/QtGuiDispatcher.h"
#include "support/RecordingProtocolBackend.h"
#include "support/ScriptedUi.h"
#include "support/qt/ReturnKeys.h"

namespace {

constexpr int kTimeoutMs = 20000;

// A controller whose memory holds a program in slot 2 only, and a job that runs until released.
class Steuerung final : public app::FlashSteuerung {
 public:
  Steuerung() {
    controller.answerFor = [](const std::string& command) {
      if (command.rfind("*FR2", 0) == 0) return std::string("*FR2 3,1\r");
      if (command.rfind("*FR", 0) == 0) return command.substr(0, 4) + " -,-\r";
      if (command.rfind("*PE", 0) == 0) return command.substr(0, 4) + "\r";
      if (command.rfind("*PR", 0) == 0) return std::string("E3\a");
      return std::string(1, '\x06');
    };
  }
  machine::ProtocolBackend& zelkoCOM() override { return controller; }
  void Programmdurchlaeufe_hinterlegen(int count) override { controller.Programmdurchlaeufe_hinterlegen(count); }
  void AuftragVorbereiten() override {}
  void cncFraesen() override {
    running = true;
    while (!released) QThread::msleep(1);
  }
  void Steuerungsfehler_melden(int) override {}
  std::string Dokumentpfad() override { return {}; }

  testsupport::RecordingProtocolBackend controller;
  std::atomic<bool> running{false};
  std::atomic<bool> released{false};
};

}  // namespace

class DialogViewsTest : public QObject {
  Q_OBJECT

 private slots:
  void theProgramMemoryDialogShowsTheSlotsAndItsLogAndCannotCloseMidWrite();
  void theToolLengthDialogShowsItsMemoAndTheAbortButtonWhileMeasuring();
  void returnAndEnterStartNothingInEitherDialog();
};

void DialogViewsTest::theProgramMemoryDialogShowsTheSlotsAndItsLogAndCannotCloseMidWrite() {
  testsupport::ScriptedUi ui;
  platform::QtGuiDispatcher gui;
  std::atomic<bool> recording{false};
  Steuerung steuerung;
  auto model = std::make_unique<app::TFlashDlg>(app::FlashDlgServices{ui, gui, recording}, steuerung);
  model->OnCreate();
  appqt::FlashDialogView view(*model);
  model->OnActivate();
  view.show();
  QVERIFY(recording.load());
  QTRY_VERIFY_WITH_TIMEOUT(!model->busy(), kTimeoutMs);

  auto* slot1 = view.findChild<QToolButton*>(QStringLiteral("SpeedButton1"));
  auto* slot2 = view.findChild<QToolButton*>(QStringLiteral("SpeedButton2"));
  QVERIFY(slot1 != nullptr && slot2 != nullptr);
  QVERIFY(slot1->isChecked());
  QCOMPARE(slot2->palette().color(QPalette::ButtonText), QColor(255, 0, 0));
  QCOMPARE(slot1->palette().color(QPalette::ButtonText), QColor(0, 128, 0));
  auto* pane = view.findChild<QTextEdit*>(QStringLiteral("RichEdit"));
  QVERIFY(pane->toPlainText().contains(QStringLiteral("### Der Programmspeicher ist leer ! ###")));

  // A write that runs: every control is locked and the dialog does not close.
  view.findChild<QPushButton*>(QStringLiteral("ProgrammSchreibenButton"))->click();
  QTRY_VERIFY_WITH_TIMEOUT(steuerung.running.load(), kTimeoutMs);
  auto* schliessen = view.findChild<QPushButton*>(QStringLiteral("SchiessenBitBtn"));
  QTRY_VERIFY_WITH_TIMEOUT(!schliessen->isEnabled(), kTimeoutMs);
  QVERIFY(!slot2->isEnabled());
  view.reject();
  QVERIFY(view.isVisible());
  steuerung.released = true;
  QTRY_VERIFY_WITH_TIMEOUT(schliessen->isEnabled(), kTimeoutMs);
  QVERIFY(pane->toPlainText().contains(QStringLiteral("### Programm 1 schreiben - Ende ###")));
  schliessen->click();
  QVERIFY(!view.isVisible());
  QVERIFY(!recording.load());
}

void DialogViewsTest::theToolLengthDialogShowsItsMemoAndTheAbortButtonWhileMeasuring() {
  platform::QtGuiDispatcher gui;
  int stops = 0;
  app::TWZLMessungForm model(gui, {.messungStarten = [] { return true; }, .Achsen_anhalten = [&stops] { ++stops; }});
  model.OnCreate();
  machine::Maschinenparameter params;
  params.xWZLMessposition = 1.5;
  params.yWZLMessposition = 2.0;
  params.zWZLMessposition = -20.0;
  model.OnActivate(params);
  appqt::ToolLengthDialogView view(model);
  view.show();
  QCOMPARE(view.windowTitle(), QStringLiteral("WZL-Messung"));
  auto* memo = view.findChild<QPlainTextEdit*>(QStringLiteral("Memo"));
  QCOMPARE(memo->toPlainText(),
           QStringLiteral("xWZLMessposition = 1.50\nyWZLMessposition = 2.00\nzWZLMessposition = -20.00\n"));
  auto* abbrechen = view.findChild<QPushButton*>(QStringLiteral("AbbrechenBitBtn"));
  auto* schliessen = view.findChild<QPushButton*>(QStringLiteral("SchliessenBitBtn"));
  QVERIFY(!abbrechen->isVisible());
  QVERIFY(schliessen->isVisible());

  // While it measures: abort instead of close, and the dialog stays open.
  model.SchaltflaechenSetzen(false, true, false);
  QVERIFY(abbrechen->isVisible());
  QVERIFY(!schliessen->isVisible());
  view.reject();
  QVERIFY(view.isVisible());
  abbrechen->click();
  QCOMPARE(stops, 1);

  model.zWZLneu = -23.5;
  model.zWZLdelta = 3.5;
  model.MessdatenAnzeigen(1.5, 2.0, -20.0, true);
  model.SchaltflaechenSetzen(true, false, true);
  QVERIFY(memo->toPlainText().endsWith(QStringLiteral("         zWZLneu = -23.50\n\n       zWZLdelta = 3.50")));
  schliessen->click();
  QVERIFY(!view.isVisible());
}

void DialogViewsTest::returnAndEnterStartNothingInEitherDialog() {
  testsupport::ScriptedUi ui;
  platform::QtGuiDispatcher gui;
  std::atomic<bool> recording{false};
  Steuerung steuerung;
  app::TFlashDlg flash(app::FlashDlgServices{ui, gui, recording}, steuerung);
  flash.OnCreate();
  appqt::FlashDialogView flashView(flash);
  flash.OnActivate();
  flashView.show();
  QTRY_VERIFY_WITH_TIMEOUT(!flash.busy(), kTimeoutMs);
  const std::size_t sent = steuerung.controller.calls().size();
  const int flashWidgets = testsupport::returnAndEnterEverywhere(&flashView, [&](QWidget* w, const char* key) {
    const QString where = QStringLiteral("%1 %2").arg(w->objectName(), QLatin1String(key));
    QVERIFY2(!flash.busy(), qPrintable(where));
    QVERIFY2(steuerung.controller.calls().size() == sent, qPrintable(where));
    QVERIFY2(flashView.isVisible(), qPrintable(where));
  });
  QVERIFY2(flashWidgets >= 6, qPrintable(QString::number(flashWidgets)));
  QVERIFY(ui.messageBoxes().empty());
  flashView.findChild<QPushButton*>(QStringLiteral("SchiessenBitBtn"))->click();

  int starts = 0;
  app::TWZLMessungForm toolLength(gui,
                                  {.messungStarten = [&starts] { return ++starts > 0; }, .Achsen_anhalten = [] {}});
  toolLength.OnCreate();
  toolLength.OnActivate(machine::Maschinenparameter{});
  appqt::ToolLengthDialogView toolLengthView(toolLength);
  toolLengthView.show();
  const int toolLengthWidgets =
      testsupport::returnAndEnterEverywhere(&toolLengthView, [&](QWidget* w, const char* key) {
        QVERIFY2(starts == 0, qPrintable(QStringLiteral("%1 %2").arg(w->objectName(), QLatin1String(key))));
        QVERIFY2(toolLengthView.isVisible(), key);
      });
  QVERIFY2(toolLengthWidgets >= 3, qPrintable(QString::number(toolLengthWidgets)));
  toolLengthView.findChild<QPushButton*>(QStringLiteral("StartenBitBtn"))->click();
  QCOMPARE(starts, 1);
}

QTEST_MAIN(DialogViewsTest)
#include "DialogViewsTest.moc"
