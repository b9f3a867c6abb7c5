#include "views/ResultsPageTexts.h"

#include <QTest>

// The line above the hits and the page filter's matching, without any widget.
class tst_results_page_texts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void runSummary_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("engines");
        QTest::addColumn<QStringList>("failed");
        QTest::addColumn<QString>("text");

        const QString dash = QString(QChar(0x2013));
        QTest::newRow("second page") << 10 << 10 << 57 << 9 << QStringList() << "Hits 11" + dash + "20 of 57 from 9 engines";
        QTest::newRow("failures named in order") << 10 << 10 << 57 << 9 << QStringList{"Lycos", "Yahoo"}
                                                 << "Hits 11" + dash + "20 of 57 from 9 engines; failed: Lycos, Yahoo";
        QTest::newRow("short last page") << 50 << 7 << 57 << 9 << QStringList() << "Hits 51" + dash + "57 of 57 from 9 engines";
        QTest::newRow("one hit, one engine") << 0 << 1 << 1 << 1 << QStringList() << "Hit 1 of 1 from 1 engine";
        QTest::newRow("no engines known") << 0 << 10 << 12 << 0 << QStringList() << "Hits 1" + dash + "10 of 12";
        QTest::newRow("nothing found, all failed") << 0 << 0 << 0 << 2 << QStringList{"Excite", "Lycos"}
                                                   << "No hits from 2 engines; failed: Excite, Lycos";
        QTest::newRow("past the end") << 10 << 0 << 10 << 3 << QStringList() << "No more hits; 10 in all from 3 engines";
    }

    void runSummary()
    {
        QFETCH(int, first);
        QFETCH(int, shown);
        QFETCH(int, total);
        QFETCH(int, engines);
        QFETCH(QStringList, failed);
        QFETCH(QString, text);
        QCOMPARE(ResultsPageTexts::RunSummaryText(first, shown, total, engines, failed), text);
    }

    void filter_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<bool>("matches");
        // The hit: title "Preservation Hall", address "http://www.jazz2.example.com/", summary
        // "Traditional New Orleans music nightly".
        QTest::newRow("empty lets all through") << "" << true;
        QTest::newRow("blanks only") << "  \t " << true;
        QTest::newRow("title, other case") << "PRESERVATION" << true;
        QTest::newRow("address part") << "jazz2.example" << true;
        QTest::newRow("summary word") << "nightly" << true;
        QTest::newRow("words from different fields") << "hall  orleans" << true;
        QTest::newRow("one word missing") << "hall chicago" << false;
        QTest::newRow("not there") << "festival" << false;
        QTest::newRow("non-ASCII folded") << QString::fromUtf8("MÜNCHEN") << false;
    }

    void filter()
    {
        QFETCH(QString, filter);
        QFETCH(bool, matches);
        QCOMPARE(ResultsPageTexts::HitMatchesFilter(QStringLiteral("Preservation Hall"), QStringLiteral("http://www.jazz2.example.com/"),
                                                    QStringLiteral("Traditional New Orleans music nightly"), filter),
                 matches);
    }

    void filterFoldsNonAsciiCase()
    {
        QVERIFY(ResultsPageTexts::HitMatchesFilter(QString::fromUtf8("Münchner Jazzclub"), QString(), QString(),
                                                   QString::fromUtf8("MÜNCHNER")));
    }

    void titleAndAddress()
    {
        QCOMPARE(ResultsPageTexts::TitleAndAddressText(QStringLiteral("Tom & Jerry"), QStringLiteral("http://x/?a=1&b=2")),
                 QStringLiteral("Tom & Jerry\nhttp://x/?a=1&b=2"));
    }
};

QTEST_APPLESS_MAIN(tst_results_page_texts)
#include "tst_results_page_texts.moc"
