// The download window on Qt's offscreen platform: its layout, the folder choice and its list of
// long paths, whole downloads against the simulated controller while the event loop keeps
// running (a file joined from two images, a file for another chip, a cancel), and Return and
// Enter, which start none.
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "BootRig.h"
#include "download/DownloadForm.h"
#include "download/qt/DownloadWindow.h"
#include "platform/qt/QtGuiDispatcher.h"
#include "support/ScriptedUi.h"
#include "support/qt/ReturnKeys.h"

namespace {

constexpr int kTimeoutMs = 60000;

}  // namespace

class DownloadWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void showsTheFormsControlsAtTheirPlaces();
  void aFolderChoiceFillsTheListAndAChoiceOffersTheDownload();
  void aDownloadRunsWhileTheWindowStaysResponsiveAndCanBeCancelled();
  void aFileJoinedFromTwoImagesIsWrittenWhole();
  void anImageForAnotherChipIsRefusedWithNothingWritten();
  void longPathsOfOneFolderCanBeToldApart();
  void returnAndEnterStartNoDownload();

 private:
  template <class W>
  W* child(const char* name) {
    W* widget = window_->findChild<W*>(QString::fromLatin1(name));
    if (widget == nullptr) qFatal("no widget %s", name);
    return widget;
  }
  void chooseFile(const std::string& text);
  void chooseFile();
  // Starts the download and waits until it has ended.
  void download();

  std::unique_ptr<downloadtest::BootRig> rig_;
  testsupport::ScriptedUi ui_;
  std::unique_ptr<platform::QtGuiDispatcher> gui_;
  std::unique_ptr<download::TForm1> form_;
  std::unique_ptr<downloadqt::DownloadWindow> window_;
};

void DownloadWindowTest::init() {
  // A line as slow as the bootloader's: the rows take long enough to be cancelled.
  peers::BootSim::Options options;
  options.wireBaud = 9600;
  rig_ = std::make_unique<downloadtest::BootRig>(options);
  gui_ = std::make_unique<platform::QtGuiDispatcher>();
  form_ = std::make_unique<download::TForm1>(
      download::DownloadFormServices{ui_, *gui_, platform::systemClock(), downloadtest::testTiming()});
  form_->FormCreate();
  window_ = std::make_unique<downloadqt::DownloadWindow>(*form_);
  window_->show();
}

void DownloadWindowTest::cleanup() {
  window_.reset();
  form_.reset();
  gui_.reset();
  ui_.clear();
  rig_.reset();
}

void DownloadWindowTest::chooseFile() {
  downloadtest::Firmware firmware;
  for (std::uint32_t row = 0; row < 100; ++row) firmware.instructions[row * 32] = row;
  chooseFile(downloadtest::hexFile(firmware));
}

void DownloadWindowTest::download() {
  QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
  QVERIFY(!child<QPushButton>("Button1")->isEnabled());
  QTRY_VERIFY_WITH_TIMEOUT(child<QPushButton>("Button1")->isEnabled(), kTimeoutMs);
}

void DownloadWindowTest::chooseFile(const std::string& text) {
  rig_->write("fw.hex", text);
  ui_.pushFolderAnswer(rig_->folder.string());
  QTest::mouseClick(child<QPushButton>("Button2"), Qt::LeftButton);
  child<QListWidget>("ListBox1")->setCurrentRow(0);
  auto* ports = child<QComboBox>("ComboBox1");
  ports->setCurrentIndex(ports->findText(QString::fromLatin1(downloadtest::BootRig::kPort)));
}

void DownloadWindowTest::showsTheFormsControlsAtTheirPlaces() {
  QCOMPARE(window_->windowTitle(), QStringLiteral("Download-Manager für Zelko - Kestrin       Version 2.0"));
  QCOMPARE(window_->size(), QSize(431, 491));
  QCOMPARE(child<QComboBox>("ComboBox1")->geometry(), QRect(128, 48, 145, 21));
  QCOMPARE(child<QPushButton>("Button1")->geometry(), QRect(120, 296, 185, 25));
  QCOMPARE(child<QPushButton>("Button2")->text(), QStringLiteral("Verzeichnis wählen !"));
  QVERIFY(child<QPushButton>("Button2")->isVisible());
  QVERIFY(!child<QListWidget>("ListBox1")->isVisible());
  QVERIFY(!child<QPushButton>("Button1")->isEnabled());
  QVERIFY(!child<QPushButton>("CancelButton")->isEnabled());
  QVERIFY(child<QLineEdit>("Edit1")->isReadOnly());
  QVERIFY(child<QComboBox>("ComboBox1")->findText(QString::fromLatin1(downloadtest::BootRig::kPort)) >= 0);
}

void DownloadWindowTest::aFolderChoiceFillsTheListAndAChoiceOffersTheDownload() {
  chooseFile();
  QVERIFY(!child<QPushButton>("Button2")->isVisible());
  auto* list = child<QListWidget>("ListBox1");
  QVERIFY(list->isVisible());
  QCOMPARE(list->count(), 1);
  QCOMPARE(list->item(0)->text().toStdString(), (rig_->folder / "fw.hex").string());
  QVERIFY(child<QPushButton>("Button1")->isEnabled());
  QCOMPARE(form_->ComboBox1.selected(), std::string(downloadtest::BootRig::kPort));
}

void DownloadWindowTest::aDownloadRunsWhileTheWindowStaysResponsiveAndCanBeCancelled() {
  chooseFile();
  QElapsedTimer sinceTick;
  qint64 longestPause = 0;
  int ticks = 0;
  QTimer ticker;
  ticker.setInterval(10);
  connect(&ticker, &QTimer::timeout, this, [&] {
    longestPause = std::max(longestPause, sinceTick.restart());
    ++ticks;
  });
  sinceTick.start();
  ticker.start();

  QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
  QVERIFY(!child<QPushButton>("Button1")->isEnabled());
  QVERIFY(child<QPushButton>("CancelButton")->isEnabled());
  QTRY_COMPARE_WITH_TIMEOUT(child<QLineEdit>("Edit1")->text(), QStringLiteral("Programming Device "), kTimeoutMs);
  QTest::mouseClick(child<QPushButton>("CancelButton"), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(child<QPushButton>("Button1")->isEnabled(), kTimeoutMs);
  ticker.stop();

  QCOMPARE(child<QLineEdit>("Edit1")->text(), QStringLiteral("Cancelled"));
  QVERIFY(!child<QPushButton>("CancelButton")->isEnabled());
  QCOMPARE(ui_.messageBoxes().size(), std::size_t{1});
  // The wake-up alone pauses for seconds; the event loop went on all the while.
  QVERIFY2(ticks >= 50, qPrintable(QString::number(ticks)));
  QVERIFY2(longestPause < 1000, qPrintable(QString::number(longestPause)));
}

void DownloadWindowTest::aFileJoinedFromTwoImagesIsWrittenWhole() {
  // The first image ends in the configuration area; the second, behind its end record, starts
  // low in program memory without an address record of its own.
  downloadtest::Firmware application;
  for (std::uint32_t i = 40; i < 44; ++i) application.instructions[i] = 0x0A0000 + i;
  application.config[0] = 0xF00F;
  downloadtest::Firmware settings;
  for (std::uint32_t i = 200; i < 202; ++i) settings.instructions[i] = 0x0B0000 + i;
  settings.eeprom[3] = 0x1234;
  chooseFile(downloadtest::hexFile(application) + downloadtest::hexFile(settings));
  download();

  QCOMPARE(child<QLineEdit>("Edit1")->text(), QStringLiteral("Download beendet!"));
  QCOMPARE(ui_.messageBoxes().size(), std::size_t{1});
  QCOMPARE(ui_.messageBoxes()[0].text, std::string("Datenübertragung erfolgreich beendet!"));
  for (std::uint32_t i = 40; i < 44; ++i) QCOMPARE(rig_->sim.instruction(i), 0x0A0000 + i);
  QCOMPARE(rig_->sim.configRegister(0), std::uint16_t{0xF00F});
  for (std::uint32_t i = 200; i < 202; ++i) QCOMPARE(rig_->sim.instruction(i), 0x0B0000 + i);
  QCOMPARE(rig_->sim.eepromWord(3), std::uint16_t{0x1234});
}

void DownloadWindowTest::anImageForAnotherChipIsRefusedWithNothingWritten() {
  // The start of an 8-bit image: its jump table happens to leave every fourth byte 0, its code
  // does not.
  using downloadtest::dataRecord;
  chooseFile(dataRecord(0x0000, {0x0C, 0x94, 0x5C, 0x00, 0x0C, 0x94, 0x6E, 0x00}) + "\n" +
             dataRecord(0x0008, {0x11, 0x24, 0x1F, 0xBE, 0xCF, 0xEF, 0xD8, 0xE0}) + "\n" + downloadtest::endRecord() +
             "\n");
  download();

  QCOMPARE(child<QLineEdit>("Edit1")->text(), QStringLiteral("Bad HexFile"));
  QCOMPARE(ui_.messageBoxes().size(), std::size_t{1});
  QCOMPARE(ui_.messageBoxes()[0].text, std::string("Die Hex-Datei ist fehlerhaft (Zeile 2)!"));
  // Refused before the controller was even woken.
  QVERIFY(rig_->sim.frames().empty());
}

void DownloadWindowTest::longPathsOfOneFolderCanBeToldApart() {
  for (const char* name : {"kestrin-zelko-firmware-release-a.hex", "kestrin-zelko-firmware-release-b.hex"})
    rig_->write(name, downloadtest::hexFile({}));
  ui_.pushFolderAnswer(rig_->folder.string());
  QTest::mouseClick(child<QPushButton>("Button2"), Qt::LeftButton);
  auto* list = child<QListWidget>("ListBox1");
  QCOMPARE(list->count(), 2);
  // The list keeps the full paths, longer than the list is wide.
  QCOMPARE(list->item(1)->text().toStdString(), (rig_->folder / "kestrin-zelko-firmware-release-b.hex").string());
  QVERIFY(list->fontMetrics().horizontalAdvance(list->item(0)->text()) > list->viewport()->width());

  // What the two rows show in view differs: their ends are there.
  const auto shown = [&](int row) {
    return list->viewport()->grab(list->visualItemRect(list->item(row)) & list->viewport()->rect()).toImage();
  };
  QCOMPARE(shown(0).size(), shown(1).size());
  QVERIFY(shown(0) != shown(1));
}

void DownloadWindowTest::returnAndEnterStartNoDownload() {
  chooseFile();
  ui_.clear();
  auto* start = child<QPushButton>("Button1");
  QVERIFY(start->isEnabled());
  const int tried = testsupport::returnAndEnterEverywhere(window_.get(), [&](QWidget* w, const char* key) {
    const QString where = QStringLiteral("%1 %2").arg(w->objectName(), QLatin1String(key));
    QVERIFY2(start->isEnabled() && !child<QPushButton>("CancelButton")->isEnabled(), qPrintable(where));
    QVERIFY2(ui_.calls().empty(), qPrintable(where));
  });
  QVERIFY2(tried >= 3, qPrintable(QString::number(tried)));
  QVERIFY(!start->isDefault() && !start->autoDefault());
}

QTEST_MAIN(DownloadWindowTest)
#include "DownloadWindowTest.moc"
