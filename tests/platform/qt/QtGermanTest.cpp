// Qt's own buttons and dialogs speak German once the translations are installed.
#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>

#include "platform/qt/QtGerman.h"

class QtGermanTest : public QObject {
  Q_OBJECT

 private slots:
  void theButtonsOfBoxesAndDialogsReadGerman() {
    QVERIFY(platform::installGermanQtTexts(*QCoreApplication::instance()));
    QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel);
    QCOMPARE(box.button(QDialogButtonBox::Yes)->text(), QStringLiteral("&Ja"));
    QCOMPARE(box.button(QDialogButtonBox::No)->text(), QStringLiteral("&Nein"));
    QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
    QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Suchen in:"));
  }
};

QTEST_MAIN(QtGermanTest)
#include "QtGermanTest.moc"
