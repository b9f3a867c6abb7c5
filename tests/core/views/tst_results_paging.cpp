#include "ViewsTestFixture.h"

#include "store/CDaoException.h"
#include "store/CPagesTable.h"
#include "views/CResultsPaging.h"

#include <QStandardPaths>
#include <QTest>

class tst_results_paging : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Stored limits win over the list's size, except where the list is now shorter.
    void storedLimits_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("storedPrevious");
        QTest::addColumn<int>("storedThis");
        QTest::addColumn<int>("hits");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<bool>("pastEnd");
        QTest::newRow("stored page reused") << 1 << 10 << 17 << 40 << 10 << 17 << false;
        QTest::newRow("stored -1 recomputed") << 1 << 10 << -1 << 40 << 10 << 20 << false;
        QTest::newRow("limit beyond the list shows what exists") << 1 << 10 << 20 << 14 << 10 << 14 << false;
        QTest::newRow("after an end page") << 2 << -1 << -2 << 40 << -1 << -1 << true;
        QTest::newRow("last short page") << 1 << 10 << -2 << 14 << 10 << 14 << false;
    }

    void storedLimits()
    {
        QFETCH(int, page);
        QFETCH(int, storedPrevious);
        QFETCH(int, storedThis);
        QFETCH(int, hits);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(bool, pastEnd);
        ViewsTest::Fixture f;
        QVERIFY(f.open());
        const int qid = f.addQuery(QStringLiteral("q"));
        f.doc.Pages().insertPage(qid, page - 1, storedPrevious);
        if (storedThis != -2)
            f.doc.Pages().insertPage(qid, page, storedThis);
        const CResultsPaging::Range r = CResultsPaging(f.db()).PageRange(qid, page, hits);
        QCOMPARE(r.pastEnd, pastEnd);
        if (!pastEnd) {
            QCOMPARE(r.start, start);
            QCOMPARE(r.end, end);
        }
    }

    // A missing row for the page before is a database fault, reported as one.
    void missingPreviousPageThrows()
    {
        ViewsTest::Fixture f;
        QVERIFY(f.open());
        const int qid = f.addQuery(QStringLiteral("q"));
        QVERIFY_THROWS_EXCEPTION(CDaoException, CResultsPaging(f.db()).PageRange(qid, 1, 30));
    }

    // A query whose save failed (QID -1) pages through its hits without touching the tables.
    void unsavedQuery()
    {
        ViewsTest::Fixture f;
        QVERIFY(f.open());
        CResultsPaging paging(f.db());
        CResultsPaging::Range r = paging.PageRange(-1, 1, 25);
        QCOMPARE(r.start, 10);
        QCOMPARE(r.end, 20);
        r = paging.PageRange(-1, 1, 10);
        QVERIFY(r.pastEnd);
        paging.FinishPage(-1, r);
        QVERIFY(!paging.NextPageIsHeld(-1, 2, 25));
        QVERIFY(paging.NextPageIsHeld(-1, 1, 25));
        QCOMPARE(f.db().scalar(QStringLiteral("SELECT COUNT(*) FROM [Pages]"), {}, QStringLiteral("test")).toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_results_paging)
#include "tst_results_paging.moc"
