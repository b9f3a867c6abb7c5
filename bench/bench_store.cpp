// Speed of the statement layer on its own, on a fresh database in a temporary folder:
//  - inserting 10,000 hits with insertResult inside one transaction;
//  - reading them back with results(qid);
//  - listing 10,000 stored queries by name (the tree's name arrangement reads this);
//  - reading 100,000 visits of [Query Results Date].
// Run: ./bench_store [repetitions]   (median and worst of the repetitions, in ms)

#include "store/CMainQueryTable.h"
#include "store/CResultTables.h"
#include "store/CTrawlexDatabase.h"
#include "store/CVisitedLinksTable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

void report(const char *what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%-44s median %8.2f ms   worst %8.2f ms\n", what, ms[ms.size() / 2], ms.back());
}

double timed(const std::function<void()> &work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int reps = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tx.mdb"));
    CTrawlexDatabase::createFromSchema(path);
    CTrawlexDatabase db(path);
    CMainQueryTable main(db);
    CResultTables results(db);
    CVisitedLinksTable visits(db);

    // The hits exist before a save; only the statements are timed.
    QStringList titles, urls, summaries;
    for (int i = 0; i < 10000; ++i) {
        titles << QStringLiteral("Title of hit number %1").arg(i);
        urls << QStringLiteral("http://www.host%1.com/path/page%2.html").arg(i % 500).arg(i);
        summaries << QStringLiteral("A summary of moderate length for hit %1, as engines wrote them.").arg(i);
    }
    const QList<QStringList> engines{{QStringLiteral("AltaVista")},
                                     {QStringLiteral("HotBot"), QStringLiteral("Yahoo")}};
    std::vector<double> insertMs, readMs;
    for (int r = 0; r < reps; ++r) {
        const int qid = main.insertQuery(QStringLiteral("bench %1").arg(r));
        insertMs.push_back(timed([&] {
            CDbTransaction t(db);
            for (int i = 0; i < 10000; ++i)
                results.insertResult(qid, titles.at(i), urls.at(i), summaries.at(i), i % 3 == 0, engines.at(i % 2));
            t.commit();
        }));
        std::size_t n = 0;
        readMs.push_back(timed([&] { n = results.results(qid).size(); }));
        if (n != 10000)
            return 1;
    }
    report("insertResult x 10,000 in one transaction", insertMs);
    report("results(qid) of 10,000", readMs);

    {
        CDbTransaction t(db);
        for (int i = 0; i < 10000; ++i)
            main.insertQuery(QStringLiteral("query %1").arg((i * 7919) % 10000));
        for (int i = 0; i < 100000; ++i)
            visits.insertVisit(QStringLiteral("http://visited%1.example.com/").arg(i));
        t.commit();
    }
    std::vector<double> namesMs, visitsMs;
    for (int r = 0; r < reps; ++r) {
        namesMs.push_back(timed([&] { main.namesOrdered(); }));
        visitsMs.push_back(timed([&] { visits.visits(); }));
    }
    report("namesOrdered() of 10,000 queries", namesMs);
    report("visits() of 100,000 rows", visitsMs);
    return 0;
}
