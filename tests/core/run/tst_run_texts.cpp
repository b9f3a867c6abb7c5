#include "run/RunTexts.h"

#include <QtTest>

class TestRunTexts final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void completionMessage_data();
    void completionMessage();
    void progress_data();
    void progress();
};

void TestRunTexts::completionMessage_data()
{
    QTest::addColumn<QStringList>("failed");
    QTest::addColumn<QString>("message");
    QTest::newRow("none") << QStringList{} << QStringLiteral("Query Retrieval completed!");
    QTest::newRow("one") << QStringList{QStringLiteral("Excite")}
                         << QStringLiteral("Query Retrieval completed!  Excite timed out.");
    QTest::newRow("two") << QStringList{QStringLiteral("Lycos"), QStringLiteral("Yahoo")}
                         << QStringLiteral("Query Retrieval completed!  Lycos and Yahoo timed out.");
    QTest::newRow("three") << QStringList{QStringLiteral("Excite"), QStringLiteral("Lycos"), QStringLiteral("Yahoo")}
                           << QStringLiteral("Query Retrieval completed!  Excite, Lycos and Yahoo timed out.");
    QTest::newRow("four, list order kept")
        << QStringList{QStringLiteral("Yahoo"), QStringLiteral("AltaVista"), QStringLiteral("HotBotRepeat"), QStringLiteral("Lycos")}
        << QStringLiteral("Query Retrieval completed!  Yahoo, AltaVista, HotBotRepeat and Lycos timed out.");
    QTest::newRow("percent sign in a name stays literal") << QStringList{QStringLiteral("A%1B")}
                                                          << QStringLiteral("Query Retrieval completed!  A%1B timed out.");
}

void TestRunTexts::completionMessage()
{
    QFETCH(QStringList, failed);
    QFETCH(QString, message);
    QCOMPARE(RunTexts::completed(failed), message);
}

void TestRunTexts::progress_data()
{
    QTest::addColumn<int>("received");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("saved");
    QTest::addColumn<int>("engines");
    QTest::addColumn<int>("percent");
    QTest::newRow("nothing yet") << 0 << 0 << 0 << 3 << 0;
    QTest::newRow("truncated, not rounded") << 2 << 0 << 0 << 3 << 6;        // 6.67
    QTest::newRow("half of two engines") << 10 << 0 << 0 << 2 << 50;
    QTest::newRow("duplicates capped at 100") << 35 << 0 << 0 << 2 << 100;
    QTest::newRow("more run counts the partial page") << 3 << 3 << 25 << 4 << 70;   // 25 % 30 = 25 -> 28/40
    QTest::newRow("more run after a full page") << 4 << 1 << 10 << 1 << 40;        // 10 % 10 = 0
    QTest::newRow("saved count ignored on page 0") << 4 << 0 << 25 << 1 << 40;
    QTest::newRow("no engine gives no figure") << 5 << 0 << 0 << 0 << 0;
}

void TestRunTexts::progress()
{
    QFETCH(int, received);
    QFETCH(int, page);
    QFETCH(int, saved);
    QFETCH(int, engines);
    QFETCH(int, percent);
    QCOMPARE(RunTexts::progressPercent(received, page, saved, engines), percent);
    QCOMPARE(RunTexts::progress(percent), QStringLiteral("Progress %1%").arg(percent));
}

QTEST_GUILESS_MAIN(TestRunTexts)
#include "tst_run_texts.moc"
