#pragma once

#include "ScriptedRetrieval.h"
#include "TestDatabase.h"

#include "app/IUserPrompt.h"
#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "run/CQueryCommands.h"
#include "run/CRunMonitor.h"
#include "views/CQueryTreeModel.h"
#include "views/CResultsPageModel.h"
#include "store/CDefinitionTables.h"
#include "store/CMainQueryTable.h"
#include "store/CResultTables.h"
#include "store/CTrawlexDatabase.h"
#include "store/CTrawlexDoc.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A document on a fresh copy of the pre-built tx.mdb, a query and its results set, and a
// prompt that records what it is asked to show: what the view tests build on.
namespace ViewsTest {

class RecordingPrompt final : public IUserPrompt
{
public:
    void showMessage(const QString &text) override { messages << text; }
    bool askYesNo(const QString &text) override
    {
        messages << text;
        return true;
    }
    QStringList messages;
};

struct Fixture
{
    QTemporaryDir dir;
    RecordingPrompt prompt;
    CTrawlexDoc doc;
    CTrawlexQuery query;
    CTrawlexQueryResults results;
    // What the views' commands carry out; runs go to a retrieval the test plays.
    CRunMonitor monitor{doc, query, results, prompt};
    CQueryCommands commands{doc, query, results, prompt};
    // What the views show, over the same objects.
    CResultsPageModel pageModel;
    CQueryTreeModel treeModel{&doc, &prompt};

    Fixture()
    {
        pageModel.setDocument(&doc, &query, &results);
        pageModel.setPrompt(&prompt);
        monitor.SetRetrieval(std::make_unique<ScriptedRetrieval>());
        commands.setRunMonitor(&monitor);
    }

    bool open()
    {
        const QString path = TestDatabase::copyPrebuilt(dir);
        return !path.isEmpty() && doc.OpenDatabase(path, &prompt);
    }
    CTrawlexDatabase &db() { return doc.Database(); }

    // Stores a query with plain keywords (each "include") and sets its retrieval time.
    int addQuery(const QString &name, const QStringList &keywords = {}, const QDateTime &when = {})
    {
        const int qid = doc.MainQueries().insertQuery(name);
        for (const QString &k : keywords) {
            const int kid = doc.Definitions().insertKeyword(qid);
            doc.Definitions().insertKeywordWord(qid, kid, QStringLiteral("include"), k);
        }
        if (when.isValid())
            setRetrieved(qid, when);
        return qid;
    }
    void setRetrieved(int qid, const QDateTime &when)
    {
        db().run(QStringLiteral("UPDATE [Main Query] SET LastRetrievalDate = ? WHERE QID = ?"),
                 {when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")), qid}, QStringLiteral("test"))
            .finish();
    }
    void addResult(int qid, const QString &url, const QString &title = QStringLiteral("A page"))
    {
        doc.Results().insertResult(qid, title, url, QStringLiteral("Summary"), false);
    }
    // Fills the results set with n hits "Title i", "http://host/i", "Summary i".
    void fillHits(int qid, int n)
    {
        results = CTrawlexQueryResults();
        results.SetQid(qid);
        QList<CTrawlexHit> hits;
        for (int i = 0; i < n; ++i) {
            hits.append({QStringLiteral("Title %1").arg(i), QStringLiteral("http://host.example/%1").arg(i),
                         QStringLiteral("Summary %1").arg(i), false, {}});
        }
        results.SetHits(hits);
    }
    QList<QList<int>> pagesRows(int qid)
    {
        QSqlQuery &q = db().run(QStringLiteral("SELECT nViewLevel, nLimit FROM [Pages] WHERE QID = ? ORDER BY rowid"),
                                {qid}, QStringLiteral("test"));
        QList<QList<int>> rows;
        while (q.next())
            rows.append({q.value(0).toInt(), q.value(1).toInt()});
        q.finish();
        return rows;
    }
    void addVisit(const QString &url, const QDateTime &when)
    {
        db().run(QStringLiteral("INSERT INTO [Query Results Date] (URL, DateCreated) VALUES (?, ?)"),
                 {url, when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"))}, QStringLiteral("test"))
            .finish();
    }
    int visitRows()
    {
        return db().scalar(QStringLiteral("SELECT COUNT(*) FROM [Query Results Date]"), {}, QStringLiteral("test")).toInt();
    }
};

} // namespace ViewsTest
