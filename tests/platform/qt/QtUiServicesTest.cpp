// The file-dialog filters of the user-interface services as Qt's name filters, and the keys that
// answer a message box: Return and Enter press the default button the caller chose.
#include <QTest>
#include <optional>

#include "platform/qt/QtUiServices.h"
#include "support/qt/KeyAnsweringUi.h"

Q_DECLARE_METATYPE(std::optional<platform::MsgResult>)
Q_DECLARE_METATYPE(platform::MsgButtons)
Q_DECLARE_METATYPE(platform::MsgResult)

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

  void keysAnswerWithTheChosenDefault_data() {
    using platform::MsgButtons;
    using platform::MsgResult;
    QTest::addColumn<MsgButtons>("buttons");
    QTest::addColumn<std::optional<MsgResult>>("defaultButton");
    QTest::addColumn<int>("key");
    QTest::addColumn<MsgResult>("answer");
    const auto none = std::optional<MsgResult>{};
    const auto no = std::optional<MsgResult>{MsgResult::No};
    QTest::newRow("question, own default, Return")
        << MsgButtons::YesNo << none << int(Qt::Key_Return) << MsgResult::Yes;
    QTest::newRow("question, No, Return") << MsgButtons::YesNo << no << int(Qt::Key_Return) << MsgResult::No;
    QTest::newRow("question, No, Enter") << MsgButtons::YesNo << no << int(Qt::Key_Enter) << MsgResult::No;
    QTest::newRow("question, No, Space") << MsgButtons::YesNo << no << int(Qt::Key_Space) << MsgResult::No;
    QTest::newRow("question, No, Escape") << MsgButtons::YesNo << no << int(Qt::Key_Escape) << MsgResult::No;
    QTest::newRow("with Cancel, No, Return") << MsgButtons::YesNoCancel << no << int(Qt::Key_Return) << MsgResult::No;
    QTest::newRow("with Cancel, No, Escape")
        << MsgButtons::YesNoCancel << no << int(Qt::Key_Escape) << MsgResult::Cancel;
    QTest::newRow("OK box, Return") << MsgButtons::Ok << none << int(Qt::Key_Return) << MsgResult::Ok;
  }

  void keysAnswerWithTheChosenDefault() {
    QFETCH(platform::MsgButtons, buttons);
    QFETCH(std::optional<platform::MsgResult>, defaultButton);
    QFETCH(int, key);
    QFETCH(platform::MsgResult, answer);
    const auto k = static_cast<Qt::Key>(key);
    testsupport::KeyAnsweringUi ui(k, k == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(ui.messageBox("Jetzt fahren?", "Tessaly", buttons, platform::MsgIcon::Question, defaultButton), answer);
    QCOMPARE(ui.texts().size(), std::size_t{1});
  }
};

QTEST_MAIN(QtUiServicesTest)
#include "QtUiServicesTest.moc"
