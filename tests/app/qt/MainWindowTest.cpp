// The main window on Qt's offscreen platform: start and initialisation, a simulation started
// and stopped with the buttons while the event loop keeps running, and the tool-table dialog.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ControllerDouble.h"
#include "TestPointType.h"
#include "WindowRig.h"
#include "app/MainForm.h"
#include "app/qt/MainWindow.h"
#include "machine/SharedParameters.h"
#include "machine/TraceLog.h"
#include "panel/DocumentFile.h"
#include "panel/NewDocument.h"
#include "panel/PropertyRows.h"
#include "platform/ProgramPath.h"
#include "platform/TextFile.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtGuiDispatcher.h"
#include "support/ScriptedUi.h"

namespace {

constexpr int kPoints = 30;
constexpr int kTimeoutMs = 30000;

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void showsTheTitleThePanelAndTheStatusBarOnceInitialised();
  void aSimulationRunsFromTheStartButtonWhileTheWindowStaysResponsive();
  void theStopButtonEndsTheSimulation();
  void theToolTableDialogStoresItsGridEvenWhenCancelled();
  void theFirmwareMenusAskBeforeTheyStartTheirTools();
  void aDocumentOpenedFromTheMenuIsDrawnAndKeepsItsEditsThroughSaveAndReopen();

 private:
  template <class W>
  W* child(const char* name) {
    return rig_->child<W>(name);
  }

  // Ticks every 10 ms while the run is active and keeps the longest pause between two ticks.
  void watchTheEventLoop();
  void startSimulation();
  bool runActive() { return child<QPushButton>("AnhaltenBitBtn")->isVisible(); }

  std::unique_ptr<apptest::ControllerFactory> factory_;
  std::unique_ptr<apptest::WindowRig> rig_;

  std::vector<int> progress_;
  QTimer ticker_;
  QElapsedTimer sinceTick_;
  qint64 longestPause_ = 0;
  int ticks_ = 0;
};

void MainWindowTest::init() {
  factory_ = std::make_unique<apptest::ControllerFactory>();
  rig_ = std::make_unique<apptest::WindowRig>(*factory_, kPoints);
  progress_.clear();
  connect(child<QProgressBar>("FortschrittsanzeigeProgressBar"), &QProgressBar::valueChanged, this,
          [this](int value) { progress_.push_back(value); });
  rig_->window->show();
  QTRY_VERIFY_WITH_TIMEOUT(rig_->form->bInitFertig, kTimeoutMs);
}

void MainWindowTest::cleanup() {
  ticker_.stop();
  ticker_.disconnect();
  rig_.reset();
  factory_.reset();
}

void MainWindowTest::watchTheEventLoop() {
  longestPause_ = 0;
  ticks_ = 0;
  sinceTick_.start();
  ticker_.setInterval(10);
  connect(&ticker_, &QTimer::timeout, this, [this] {
    longestPause_ = std::max(longestPause_, sinceTick_.restart());
    ++ticks_;
  });
  ticker_.start();
}

void MainWindowTest::startSimulation() {
  // The run's controls are on the "Fräsen" page.
  child<QTabWidget>("RightPageControl")->setCurrentWidget(child<QWidget>("FraesenTabSheet"));
  child<QCheckBox>("SimulationslaufCheckBox")->click();
  QCOMPARE(child<QPushButton>("FraesenStartenBitBtn")->text(), QStringLiteral("&Simulationslauf starten"));
  QVERIFY(child<QPushButton>("FraesenStartenBitBtn")->isEnabled());
  // The shortest pause, 12 ms after each simulated move.
  child<QSlider>("SimulationslaufTrackBar")->setValue(2);
  QCOMPARE(rig_->form->Simulationspause.load(), 12);
  watchTheEventLoop();
  QTest::mouseClick(child<QPushButton>("FraesenStartenBitBtn"), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(runActive(), kTimeoutMs);
}

void MainWindowTest::showsTheTitleThePanelAndTheStatusBarOnceInitialised() {
  QCOMPARE(rig_->window->windowTitle(), QStringLiteral("Tessaly für Cobalt-Kyro   22.01.13         neu.tvx"));
  QCOMPARE(child<QLabel>("StatusBarPanel0")->text(), QStringLiteral("--- keine Verbindung ---"));
  QCOMPARE(child<QLabel>("StatusBarPanel2")->text(), QStringLiteral(" akt. Position:   -  -  -"));
  QVERIFY(rig_->window->minimumSize().width() >= 1024 && rig_->window->minimumSize().height() >= 768);
  // The bitmap has the paint box's size and holds the panel: white on the grey background.
  const QWidget* box = child<QWidget>("PaintBox");
  QCOMPARE(rig_->canvas.size(), (platform::Size{box->width(), box->height()}));
  const QImage image = rig_->canvas.image();
  QCOMPARE(image.pixelColor(1, 1), QColor(0x80, 0x80, 0x80));
  const int x = panel::mm2PixelX(rig_->form->Ansicht, 40.0);
  const int y = panel::mm2PixelY(rig_->form->Ansicht, 10.0);
  QCOMPARE(image.pixelColor(x, y), QColor(Qt::white));
  QVERIFY(rig_->ui.messageBoxes().empty());
}

void MainWindowTest::aSimulationRunsFromTheStartButtonWhileTheWindowStaysResponsive() {
  startSimulation();
  QVERIFY(!child<QPushButton>("FraesenStartenBitBtn")->isVisible());
  QVERIFY(!child<QCheckBox>("SimulationslaufCheckBox")->isEnabled());
  QVERIFY(child<QProgressBar>("FortschrittsanzeigeProgressBar")->isVisible());
  QVERIFY(!rig_->window->findChild<QAction*>(QStringLiteral("MenuBeenden"))->isEnabled());

  QTRY_VERIFY_WITH_TIMEOUT(!runActive(), kTimeoutMs);
  ticker_.stop();

  // Every row was reported, then the bar went back to 0 and out of sight.
  QCOMPARE(child<QProgressBar>("FortschrittsanzeigeProgressBar")->maximum(), kPoints);
  QVERIFY(std::find(progress_.begin(), progress_.end(), kPoints) != progress_.end());
  QVERIFY(std::count_if(progress_.begin(), progress_.end(), [](int v) { return v > 0; }) >= kPoints / 2);
  QCOMPARE(progress_.back(), 0);
  QVERIFY(!child<QProgressBar>("FortschrittsanzeigeProgressBar")->isVisible());
  QVERIFY(child<QPushButton>("FraesenStartenBitBtn")->isVisible());
  QVERIFY(child<QCheckBox>("SimulationslaufCheckBox")->isEnabled());
  // The run takes over a second; the event loop went on all the while.
  QVERIFY2(ticks_ >= 20, qPrintable(QString::number(ticks_)));
  QVERIFY2(longestPause_ < 1000, qPrintable(QString::number(longestPause_)));
  QVERIFY(rig_->ui.messageBoxes().empty());
}

void MainWindowTest::theStopButtonEndsTheSimulation() {
  startSimulation();
  QTRY_VERIFY_WITH_TIMEOUT(std::find(progress_.begin(), progress_.end(), 2) != progress_.end(), kTimeoutMs);
  QTest::mouseClick(child<QPushButton>("AnhaltenBitBtn"), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!runActive(), kTimeoutMs);

  QVERIFY(std::find(progress_.begin(), progress_.end(), kPoints) == progress_.end());
  const auto trace = platform::readTextLines(machine::Protokolldatei()).lines;
  QVERIFY(std::find(trace.begin(), trace.end(), "cncNachBearbeitung(1)") != trace.end());
  QVERIFY(child<QPushButton>("FraesenStartenBitBtn")->isVisible());
  QVERIFY(!rig_->params.bAbbruch);
}

void MainWindowTest::theToolTableDialogStoresItsGridEvenWhenCancelled() {
  QStringList shown;
  QTimer::singleShot(0, this, [&shown] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    auto* grid = dialog->findChild<QTableWidget*>(QStringLiteral("toolStringGrid"));
    if (grid != nullptr) {
      shown << grid->horizontalHeaderItem(0)->text() << grid->verticalHeaderItem(2)->text() << grid->item(2, 1)->text();
      grid->item(2, 1)->setText(QStringLiteral("abc"));
      grid->item(0, 0)->setText(QStringLiteral("250"));
    }
    dialog->findChild<QPushButton*>(QStringLiteral("AbbrechenBitBtn"))->click();
  });
  rig_->window->findChild<QAction*>(QStringLiteral("MenuToolDef"))->trigger();
  QCOMPARE(shown, (QStringList{QStringLiteral("Startfreq"), QStringLiteral("Tool 3"), QStringLiteral("400")}));
  QCOMPARE(rig_->form->ToolDef.TArbeitsfreq[2], 0);
  QCOMPARE(rig_->form->ToolDef.TStartfreq[0], 250);
  QCOMPARE(rig_->form->ToolDef.TEilfreq[6], 600);
}

void MainWindowTest::theFirmwareMenusAskBeforeTheyStartTheirTools() {
  auto* kyro = rig_->window->findChild<QMenu*>(QStringLiteral("MenuCobalt_Kyro"));
  QVERIFY(kyro != nullptr);
  QCOMPARE(kyro->title(), QStringLiteral("Cobalt-Kyro"));
  QVERIFY(kyro->menuAction()->isVisible());
  auto* firmware = rig_->window->findChild<QAction*>(QStringLiteral("MenuFirmwareEinspielen"));
  auto* usbIo = rig_->window->findChild<QAction*>(QStringLiteral("MenuUSBIOFirmwareEinspielen"));
  QCOMPARE(firmware->text(), QStringLiteral("Firmware einspielen..."));
  QCOMPARE(usbIo->text(), QStringLiteral("USB-IO-Firmware einspielen..."));

  rig_->ui.pushAnswer(platform::MsgResult::No);
  firmware->trigger();
  rig_->ui.pushAnswer(platform::MsgResult::No);
  usbIo->trigger();
  const auto boxes = rig_->ui.messageBoxes();
  QCOMPARE(boxes.size(), std::size_t{2});
  QCOMPARE(boxes[0].text, std::string("Möchten Sie die Firmware wirklich neu einspielen?\n"));
  QCOMPARE(boxes[1].text, std::string("Möchten Sie die USB-IO-Firmware wirklich neu einspielen?\n"));
}

void MainWindowTest::aDocumentOpenedFromTheMenuIsDrawnAndKeepsItsEditsThroughSaveAndReopen() {
  const std::filesystem::path folder = rig_->folder();
  panel::TMainFormState doc;
  panel::StringGrid_Neu(doc);
  doc.Abmessungen.Plattenbreite = 80.0;
  panel::appendObjectRow(doc, "PUNKT", {{1, "5.00"}, {2, "5.00"}, {3, "-1.00"}});
  const auto original = folder / "platte.tvx";
  QVERIFY(panel::DokumentSpeichern(doc, original, rig_->ui));

  const auto trigger = [this](const char* name) { child<QAction>(name)->trigger(); };
  rig_->ui.pushAnswer(platform::MsgResult::No);
  trigger("MenuSchliessen");
  QCOMPARE(rig_->form->Dokumenttyp, panel::DocumentKind::None);
  rig_->ui.pushFileAnswer(platform::FileDialogResult{original.string(), 1});
  trigger("MenuOeffnen");
  QCOMPARE(rig_->form->Dokumenttyp, panel::DocumentKind::Panel);
  const std::string shown = original.string().size() <= 40 ? original.string() : original.filename().string();
  QVERIFY(rig_->window->windowTitle().endsWith(QString::fromStdString(shown)));

  // The panel is drawn: white inside the panel, grey around it.
  const QImage image = rig_->canvas.image();
  const int insideX = panel::mm2PixelX(rig_->form->Ansicht, 70.0);
  const int insideY = panel::mm2PixelY(rig_->form->Ansicht, 40.0);
  QCOMPARE(image.pixel(insideX, insideY) & 0xFFFFFFu, 0xFFFFFFu);
  QCOMPARE(image.pixel(1, 1) & 0xFFFFFFu, 0x808080u);

  // An edited job option survives save as, close and reopen.
  auto* spindle = child<QCheckBox>("SpindelmotorCheckBox");
  const bool before = spindle->isChecked();
  spindle->click();
  const auto copy = folder / "kopie.tvx";
  rig_->ui.pushFileAnswer(platform::FileDialogResult{copy.string(), 1});
  trigger("MenuSpeichernUnter");
  rig_->ui.pushAnswer(platform::MsgResult::No);
  trigger("MenuSchliessen");
  rig_->ui.pushFileAnswer(platform::FileDialogResult{copy.string(), 1});
  trigger("MenuOeffnen");
  QCOMPARE(rig_->form->SpindelmotorCheckBox.Checked, !before);
  QCOMPARE(child<QCheckBox>("SpindelmotorCheckBox")->isChecked(), !before);
  QCOMPARE(rig_->form->Abmessungen.Plattenbreite, 80.0);
  QCOMPARE(rig_->form->DatenStringGrid.RowCount(), 2);
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
