// The dialogs on which Return and Enter press no button: an edit ends its edit and nothing else,
// no button is pressed, whether it was there before the dialog was shown, was made default, or
// came later inside a panel, and the dialog is not accepted; Space and a click still press.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <map>

#include "platform/qt/QtSafeDialog.h"
#include "support/qt/ReturnKeys.h"

class QtSafeDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void returnAndEnterPressNoButtonAndDoNotAccept();
  void aWindowThatIsNoDialogKeepsNoDefaultButtonEither();
};

void QtSafeDialogTest::returnAndEnterPressNoButtonAndDoNotAccept() {
  platform::QtSafeDialog dialog;
  auto* layout = new QVBoxLayout(&dialog);
  auto* edit = new QLineEdit(&dialog);
  layout->addWidget(edit);
  auto* first = new QPushButton(QStringLiteral("&Starten"), &dialog);
  layout->addWidget(first);
  auto* madeDefault = new QPushButton(QStringLiteral("OK"), &dialog);
  madeDefault->setDefault(true);
  layout->addWidget(madeDefault);
  layout->addWidget(new QCheckBox(QStringLiteral("x-Achse"), &dialog));
  auto* panel = new QWidget(&dialog);
  layout->addWidget(panel);
  int edits = 0;
  connect(edit, &QLineEdit::editingFinished, this, [&] { ++edits; });
  std::map<QString, int> clicks;
  const auto counted = [&](QPushButton* button) {
    connect(button, &QPushButton::clicked, this, [&clicks, button] { ++clicks[button->text()]; });
  };
  counted(first);
  counted(madeDefault);
  bool accepted = false;
  connect(&dialog, &QDialog::accepted, this, [&] { accepted = true; });
  dialog.show();

  // Added while the dialog is shown, one level down.
  auto* later = new QPushButton(QStringLiteral("Später"), panel);
  (new QVBoxLayout(panel))->addWidget(later);
  later->show();
  counted(later);

  const int tried = testsupport::returnAndEnterEverywhere(&dialog, [&](QWidget* w, const char* key) {
    QVERIFY2(clicks.empty(), qPrintable(w->metaObject()->className() + QStringLiteral(" ") + QLatin1String(key)));
    QVERIFY2(!accepted && dialog.isVisible(), key);
  });
  QCOMPARE(tried, 5);
  for (QPushButton* b : {first, madeDefault, later}) {
    QVERIFY(!b->isDefault());
    QVERIFY(!b->autoDefault());
  }
  // Return in the edit ended the edit once; its Enter found nothing new to end.
  QVERIFY(edits >= 1);

  // A deliberate press still counts.
  QTest::keyClick(later, Qt::Key_Space);
  QTest::mouseClick(first, Qt::LeftButton);
  QCOMPARE(clicks[QStringLiteral("Später")], 1);
  QCOMPARE(clicks[QStringLiteral("&Starten")], 1);
}

void QtSafeDialogTest::aWindowThatIsNoDialogKeepsNoDefaultButtonEither() {
  // A window that may later be shown inside a dialog: its buttons are guarded all the same.
  QDialog dialog;
  auto* window = new QWidget(&dialog);
  auto* start = new QPushButton(QStringLiteral("Download starten"), window);
  platform::noDefaultButtons(window);
  (new QVBoxLayout(&dialog))->addWidget(window);
  int clicks = 0;
  connect(start, &QPushButton::clicked, this, [&] { ++clicks; });
  dialog.show();
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
  start->setFocus(Qt::TabFocusReason);
  QVERIFY(!start->isDefault());
  QTest::keyClick(start, Qt::Key_Return);
  QCOMPARE(clicks, 0);
}

QTEST_MAIN(QtSafeDialogTest)
#include "QtSafeDialogTest.moc"
