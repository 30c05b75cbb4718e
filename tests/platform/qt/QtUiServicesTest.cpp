// The file-dialog filters of the user-interface services as Qt's name filters.
#include <QTest>

#include "platform/qt/QtUiServices.h"

class QtUiServicesTest : public QObject {
  Q_OBJECT

 private slots:
  void filtersBecomeQtNameFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("pattern named in the description") << "Frontplatten (*.tvx)|*.tvx|Alle Dateien (*.*)|*.*"
                                                      << QStringList{"Frontplatten (*.tvx)", "Alle Dateien (*.*)"};
    QTest::newRow("pattern added") << "HPGL-Dateien|*.plt;*.hpgl" << QStringList{"HPGL-Dateien (*.plt *.hpgl)"};
    QTest::newRow("pair without a pattern") << "Alles" << QStringList{"Alles"};
    QTest::newRow("empty") << "" << QStringList{""};
  }

  void filtersBecomeQtNameFilters() {
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(platform::qtNameFilters(filter.toStdString()), expected);
  }
};

QTEST_APPLESS_MAIN(QtUiServicesTest)
#include "QtUiServicesTest.moc"
