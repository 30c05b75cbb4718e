// What an event handler lets through, on Qt's offscreen platform with the program's own
// application: from any object's handler it is shown in a box where the event loop meets it,
// from the main window's handlers before it leaves them; a failure code is dropped; the program
// goes on.
#include <QCoreApplication>
#include <QEvent>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>
#include <stdexcept>

#include "ControllerDouble.h"
#include "TestPointType.h"
#include "WindowRig.h"
#include "app/qt/Application.h"
#include "support/ScriptedUi.h"

namespace {

constexpr int kTimeoutMs = 30000;

const auto kWirft = static_cast<QEvent::Type>(QEvent::User + 1);
const auto kWirftCode = static_cast<QEvent::Type>(QEvent::User + 2);

// An object whose handler of two events lets a failure through.
class Failing final : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() != kWirft && e->type() != kWirftCode) return QObject::event(e);
    ++delivered;
    if (e->type() == kWirftCode) throw 1012;
    throw std::runtime_error("Parameterdatei nicht schreibbar");
  }

  int delivered = 0;
};

}  // namespace

class UncaughtWindowTest : public QObject {
  Q_OBJECT

 public:
  explicit UncaughtWindowTest(testsupport::ScriptedUi& applicationUi) : applicationUi_(applicationUi) {}

 private slots:
  void cleanup();
  void aFailureAnEventHandlerLetsThroughIsShownWhereTheLoopMeetsItAndTheLoopGoesOn();
  void aFailureInAMainWindowHandlerIsShownAndTheWindowGoesOn();

 private:
  testsupport::ScriptedUi& applicationUi_;
};

void UncaughtWindowTest::cleanup() {
  applicationUi_.clear();
  apptest::TestPointType::reset();
}

void UncaughtWindowTest::aFailureAnEventHandlerLetsThroughIsShownWhereTheLoopMeetsItAndTheLoopGoesOn() {
  // Posted, so that the event loop itself delivers them.
  Failing receiver;
  QCoreApplication::postEvent(&receiver, new QEvent(kWirft));
  QTRY_COMPARE_WITH_TIMEOUT(applicationUi_.messageBoxes().size(), std::size_t{1}, kTimeoutMs);
  const auto boxes = applicationUi_.messageBoxes();
  QCOMPARE(boxes[0].text, std::string("Parameterdatei nicht schreibbar"));
  QCOMPARE(boxes[0].caption, std::string("Tessaly"));
  QCOMPARE(boxes[0].icon, platform::MsgIcon::Error);

  // A failure code is dropped; the loop still delivers events and timers, and the next failure
  // is shown again.
  QCoreApplication::postEvent(&receiver, new QEvent(kWirftCode));
  bool fired = false;
  QTimer::singleShot(0, [&fired] { fired = true; });
  QTRY_VERIFY_WITH_TIMEOUT(fired, kTimeoutMs);
  QCOMPARE(receiver.delivered, 2);
  QCOMPARE(applicationUi_.messageBoxes().size(), std::size_t{1});
  QCoreApplication::postEvent(&receiver, new QEvent(kWirft));
  QTRY_COMPARE_WITH_TIMEOUT(applicationUi_.messageBoxes().size(), std::size_t{2}, kTimeoutMs);
}

void UncaughtWindowTest::aFailureInAMainWindowHandlerIsShownAndTheWindowGoesOn() {
  apptest::ControllerFactory factory;
  apptest::WindowRig rig(factory, 2);
  rig.window->show();
  QTRY_VERIFY_WITH_TIMEOUT(rig.form->bInitFertig, kTimeoutMs);
  rig.ui.clear();
  auto* nummern = rig.child<QToolButton>("DrawNummerSpeedButton");
  const bool before = rig.form->DrawNummer;

  // The switch's redraw fails: the box says why, and nothing reaches Qt.
  apptest::TestPointType::drawFailure = "Zeichnen fehlgeschlagen";
  nummern->click();
  const auto boxes = rig.ui.messageBoxes();
  QCOMPARE(boxes.size(), std::size_t{1});
  QCOMPARE(boxes[0].text, std::string("Zeichnen fehlgeschlagen"));
  QCOMPARE(boxes[0].icon, platform::MsgIcon::Error);
  QCOMPARE(rig.form->DrawNummer, !before);
  QVERIFY(applicationUi_.messageBoxes().empty());

  // The next command runs as usual.
  apptest::TestPointType::drawFailure.clear();
  nummern->click();
  QCOMPARE(rig.form->DrawNummer, before);
  QCOMPARE(nummern->isChecked(), before);
  QCOMPARE(rig.ui.messageBoxes().size(), std::size_t{1});
}

int main(int argc, char** argv) {
  testsupport::ScriptedUi applicationUi;
  appqt::Application application(argc, argv, applicationUi);
  UncaughtWindowTest test(applicationUi);
  return QTest::qExec(&test, argc, argv);
}

#include "UncaughtWindowTest.moc"
