#include "ViewsTestFixture.h"

#include "app/CTrawlexSettings.h"
#include "views/CResultsPageModel.h"

#include <QStandardPaths>
#include <QTest>

namespace {
struct Model
{
    ViewsTest::Fixture f;
    CResultsPageModel model;
    int qid = -1;

    bool setUp(int hits)
    {
        if (!f.open())
            return false;
        qid = f.addQuery(QStringLiteral("q"));
        f.query.m_keywords = {{QStringLiteral("alpha"), QStringLiteral("include")}};
        f.fillHits(qid, hits);
        model.setDocument(&f.doc, &f.query, &f.results);
        model.setPrompt(&f.prompt);
        return true;
    }
    // Builds the page as the view does: read it, then note what it found.
    CResultsPageModel::Page build(int pageIndex)
    {
        const std::optional<CResultsPageModel::Page> page = model.page(pageIndex);
        if (!page || !model.finishPage(*page))
            return {};
        return *page;
    }
    static QList<int> indexes(const CResultsPageModel::Page &page)
    {
        QList<int> out;
        for (const CResultsPageModel::Hit &hit : page.hits)
            out << hit.index;
        return out;
    }
    static QList<int> range(int from, int to)
    {
        QList<int> out;
        for (int i = from; i < to; ++i)
            out << i;
        return out;
    }
};
} // namespace

class tst_results_page_model : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Pages of ten, the last one short; past the end, a message and only Previous.
    void pagesThroughTheHits()
    {
        Model m;
        QVERIFY(m.setUp(25));
        CResultsPageModel::Page p = m.build(0);
        QCOMPARE(Model::indexes(p), Model::range(0, 10));
        QCOMPARE(p.totalHits, 25);
        QVERIFY(p.headerText.startsWith(QStringLiteral("Query:  ")));
        QVERIFY(p.hasMore && !p.hasPrevious && p.messageText.isEmpty());

        QCOMPARE(Model::indexes(m.build(1)), Model::range(10, 20));
        p = m.build(2);
        QCOMPARE(Model::indexes(p), Model::range(20, 25));
        QCOMPARE(p.range.hitCount(), 5);
        QVERIFY(p.headerText.startsWith(QStringLiteral("Page 3  \n")));
        QVERIFY(p.hasMore && p.hasPrevious);

        p = m.build(3);
        QVERIFY(p.range.pastEnd);
        QVERIFY(p.hits.isEmpty() && p.headerText.isEmpty());
        QVERIFY(!p.hasMore && p.hasPrevious);
        QCOMPARE(p.messageText, QStringLiteral("No more results."));
        QVERIFY(*m.model.nextPageIsHeld(4)); // the end is known now
        QVERIFY(m.f.prompt.messages.isEmpty());
    }

    // A query without hits says so on its first page and is done.
    void noHits()
    {
        Model m;
        QVERIFY(m.setUp(0));
        const CResultsPageModel::Page p = m.build(0);
        QVERIFY(p.hits.isEmpty());
        QVERIFY(!p.hasMore && !p.hasPrevious);
        QCOMPARE(p.messageText, QStringLiteral("No Documents were found to match this query."));
        QVERIFY(m.f.doc.MainQueries().isDone(m.qid));
    }

    // A page keeps the hits it was first built with after More appended to the list; the
    // next page starts where it ended.
    void storedLimitsAfterMoreHits()
    {
        Model m;
        QVERIFY(m.setUp(15));
        m.build(0);
        QCOMPARE(Model::indexes(m.build(1)), Model::range(10, 15));
        QVERIFY(!*m.model.nextPageIsHeld(2));

        QList<CTrawlexHit> hits = m.f.results.Hits();
        for (int i = 15; i < 35; ++i) {
            hits.append({QStringLiteral("Title %1").arg(i), QStringLiteral("http://host.example/%1").arg(i),
                         QStringLiteral("Summary %1").arg(i), false, {}});
        }
        m.f.results.SetHits(hits);
        QCOMPARE(m.model.hitCount(), 35);
        QVERIFY(*m.model.nextPageIsHeld(2));
        QCOMPARE(Model::indexes(m.build(1)), Model::range(10, 15));
        QCOMPARE(Model::indexes(m.build(2)), Model::range(15, 25));
        QCOMPARE(m.build(2).totalHits, 35);
        QVERIFY(m.f.prompt.messages.isEmpty());
    }

    // The texts of a hit as shown: shortened, marked new, and the engines that returned it.
    void hitTexts()
    {
        Model m;
        QVERIFY(m.setUp(3));
        QList<CTrawlexHit> hits = m.f.results.Hits();
        hits[0].title = QString(50, QLatin1Char('t'));
        hits[1].isNew = true;
        hits[0].engines = {QStringLiteral("AltaVista"), QStringLiteral("HotBot")};
        hits[2].engines = {QStringLiteral(" ")};
        m.f.results.SetHits(hits);
        const CResultsPageModel::Page p = m.build(0);
        QCOMPARE(p.hits[0].title, QString(50, QLatin1Char('t')));
        QCOMPARE(p.hits[0].titleText, QString(42, QLatin1Char('t')) + QStringLiteral("..."));
        QCOMPARE(p.hits[1].titleText, QStringLiteral("**Title 1"));
        QCOMPARE(p.hits[0].originText, QStringLiteral("From AltaVista, HotBot"));
        QVERIFY(p.hits[1].originText.isEmpty());
        QVERIFY(p.hits[2].originText.isEmpty());
        QCOMPARE(p.hits[2].summary, QStringLiteral("Summary 2"));

        QCOMPARE(*m.model.address(2), QStringLiteral("http://host.example/2"));
        QVERIFY(!m.model.address(3));
        QVERIFY(m.model.hitMatchesFilter(2, QStringLiteral("SUMMARY 2 host")));
        QVERIFY(!m.model.hitMatchesFilter(2, QStringLiteral("Title 1")));
    }

    // A visit marks the hit at the next build; one older than MaxURL days is forgotten.
    void visitsAndTheirExpiry()
    {
        Model m;
        QVERIFY(m.setUp(3));
        QTemporaryDir iniDir;
        CTrawlexSettings settings(iniDir.filePath(QStringLiteral("t.ini")));
        settings.MaxURL = 7;
        m.model.setSettings(&settings);
        const auto visited = [&m] {
            QList<bool> marks;
            for (const CResultsPageModel::Hit &hit : m.build(0).hits)
                marks << hit.visited;
            return marks;
        };

        QVERIFY(m.model.recordVisit(QStringLiteral("http://host.example/1")));
        QCOMPARE(visited(), (QList<bool>{false, true, false}));

        m.f.addVisit(QStringLiteral("http://host.example/2"), QDateTime::currentDateTime().addDays(-10));
        QCOMPARE(visited(), (QList<bool>{false, true, false}));
        QCOMPARE(m.f.visitRows(), 1);

        m.f.addVisit(QStringLiteral("http://host.example/2"), QDateTime::currentDateTime().addDays(-10));
        settings.MaxURL = 30;
        QCOMPARE(visited(), (QList<bool>{false, true, true}));
    }

    // A failure is reported once, after the view's own step, and the next build works again;
    // without a database there is no page and nothing to report.
    void databaseFailureReportedOnce()
    {
        Model m;
        QVERIFY(m.setUp(5));
        m.f.db().run(QStringLiteral("ALTER TABLE [Pages] RENAME TO [Pages Gone]"), {}, QStringLiteral("test")).finish();
        qsizetype reportedBefore = -1;
        QVERIFY(!m.model.page(0, [&] { reportedBefore = m.f.prompt.messages.size(); }));
        QCOMPARE(reportedBefore, 0);
        QCOMPARE(m.f.prompt.messages.size(), 1);
        QVERIFY(m.f.prompt.messages.first().startsWith(QStringLiteral("DAO error")));
        m.f.db().run(QStringLiteral("ALTER TABLE [Pages Gone] RENAME TO [Pages]"), {}, QStringLiteral("test")).finish();
        QCOMPARE(Model::indexes(m.build(0)), Model::range(0, 5));

        m.f.db().run(QStringLiteral("ALTER TABLE [Query Results Date] RENAME TO [Gone]"), {}, QStringLiteral("test")).finish();
        QVERIFY(!m.model.recordVisit(QStringLiteral("http://host.example/1")));
        QCOMPARE(m.f.prompt.messages.size(), 2);

        CResultsPageModel closed;
        CTrawlexDoc noDatabase;
        closed.setDocument(&noDatabase, &m.f.query, &m.f.results);
        closed.setPrompt(&m.f.prompt);
        QVERIFY(!closed.isReady());
        QVERIFY(!closed.page(0));
        QVERIFY(!closed.nextPageIsHeld(1));
        QCOMPARE(m.f.prompt.messages.size(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_results_page_model)
#include "tst_results_page_model.moc"
