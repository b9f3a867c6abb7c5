#include "ManualClock.h"
#include "ViewsTestFixture.h"

#include "views/CLinkAgeTracker.h"

#include <QStandardPaths>
#include <QTest>

class tst_link_age : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void expiryBoundary_data()
    {
        QTest::addColumn<QDateTime>("visit");
        QTest::addColumn<int>("maxUrl");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<bool>("expired");

        const QDate d(2026, 3, 10);
        QTest::newRow("23:00, three days later at midnight: kept")
            << QDateTime(d, QTime(23, 0)) << 3 << QDateTime(d.addDays(3), QTime(0, 0)) << false;
        QTest::newRow("23:00, one second after: gone")
            << QDateTime(d, QTime(23, 0)) << 3 << QDateTime(d.addDays(3), QTime(0, 0, 1)) << true;
        QTest::newRow("00:05 expires at the same instant")
            << QDateTime(d, QTime(0, 5)) << 3 << QDateTime(d.addDays(3), QTime(0, 0, 1)) << true;
        QTest::newRow("MaxURL 1, same day evening: kept")
            << QDateTime(d, QTime(0, 1)) << 1 << QDateTime(d, QTime(23, 59)) << false;
        QTest::newRow("MaxURL 1, next day after midnight: gone")
            << QDateTime(d, QTime(12, 0)) << 1 << QDateTime(d.addDays(1), QTime(0, 1)) << true;
        QTest::newRow("MaxURL 60, day 59: kept")
            << QDateTime(d, QTime(12, 0)) << 60 << QDateTime(d.addDays(59), QTime(23, 0)) << false;
    }

    // The row is deleted by the first page build after visit day + MaxURL days, and only then.
    void expiryBoundary()
    {
        QFETCH(QDateTime, visit);
        QFETCH(int, maxUrl);
        QFETCH(QDateTime, now);
        QFETCH(bool, expired);

        ViewsTest::Fixture f;
        QVERIFY(f.open());
        const QString url = QStringLiteral("http://old.example/");
        f.addVisit(url, visit);
        f.addVisit(QStringLiteral("http://fresh.example/"), now);

        ManualClock clock(now);
        CLinkAgeTracker tracker(f.db(), maxUrl, clock);
        QCOMPARE(CLinkAgeTracker::IsExpired(visit.date(), maxUrl, now), expired);
        const QSet<QString> among = tracker.LoadVisitedLinks(QStringList{url});
        QCOMPARE(among.contains(url), !expired);
        QCOMPARE(f.visitRows(), expired ? 1 : 2);
        const QSet<QString> all = tracker.LoadVisitedLinks();
        QCOMPARE(all.contains(url), !expired);
        QVERIFY(all.contains(QStringLiteral("http://fresh.example/")));
    }

    void secondVisitRenewsTheOneRow()
    {
        ViewsTest::Fixture f;
        QVERIFY(f.open());
        const QString url = QStringLiteral("http://a.example/x");
        f.addVisit(url, QDateTime::currentDateTime().addDays(-5));
        CLinkAgeTracker tracker(f.db(), 3);
        tracker.RecordLinkVisit(url);
        QCOMPARE(f.visitRows(), 1);
        // Renewed to today, so a MaxURL of 3 keeps it although the first visit has expired.
        QVERIFY(tracker.LoadVisitedLinks().contains(url));
    }

    void awkwardAddressesRoundTrip_data()
    {
        QTest::addColumn<QString>("url");
        QTest::newRow("apostrophe") << QStringLiteral("http://o'brien.example/it's");
        QTest::newRow("bar") << QStringLiteral("http://a.example/x|y");
        QTest::newRow("quote and percent") << QStringLiteral("http://a.example/\"q\"%_*");
        QTest::newRow("non-ASCII") << QStringLiteral("http://bücher.example/straße");
        QTest::newRow("long") << QStringLiteral("http://a.example/") + QString(3000, QLatin1Char('z'));
    }

    void awkwardAddressesRoundTrip()
    {
        QFETCH(QString, url);
        ViewsTest::Fixture f;
        QVERIFY(f.open());
        ManualClock clock;
        CLinkAgeTracker tracker(f.db(), 7, clock);
        tracker.RecordLinkVisit(url);
        tracker.RecordLinkVisit(url);
        QCOMPARE(f.visitRows(), 1);
        QCOMPARE(tracker.LoadVisitedLinks(QStringList{url}), QSet<QString>{url});

        clock.advance(std::chrono::days(9));
        QVERIFY(tracker.LoadVisitedLinks(QStringList{url}).isEmpty());
        QCOMPARE(f.visitRows(), 0);
    }

    // One row for both spellings; only the spelling stored counts as visited.
    void letterCaseSharesOneRow()
    {
        ViewsTest::Fixture f;
        QVERIFY(f.open());
        CLinkAgeTracker tracker(f.db(), 7);
        tracker.RecordLinkVisit(QStringLiteral("http://Case.example/A"));
        tracker.RecordLinkVisit(QStringLiteral("http://case.example/a"));
        QCOMPARE(f.visitRows(), 1);
        const QStringList both{QStringLiteral("http://Case.example/A"), QStringLiteral("http://case.example/a")};
        QCOMPARE(tracker.LoadVisitedLinks(both), QSet<QString>{QStringLiteral("http://Case.example/A")});
        QCOMPARE(tracker.LoadVisitedLinks(), QSet<QString>{QStringLiteral("http://Case.example/A")});
    }

    void firstKeptDayMatchesExpiry()
    {
        const QDateTime now(QDate(2026, 10, 25), QTime(0, 30));
        for (int maxUrl : {1, 3, 7, 60}) {
            const QDate kept = CLinkAgeTracker::FirstKeptDay(maxUrl, now);
            QVERIFY(!CLinkAgeTracker::IsExpired(kept, maxUrl, now));
            QVERIFY(CLinkAgeTracker::IsExpired(kept.addDays(-1), maxUrl, now));
        }
    }
};

QTEST_GUILESS_MAIN(tst_link_age)
#include "tst_link_age.moc"
