#pragma once

#include "StoredQueryRef.h"

#include <QList>
#include <QString>
#include <QStringList>

class CTrawlexDatabase;

// Statements on [Query Results] and [Yahoo], the stored hits of a query and Yahoo's
// continuation path.
class CResultTables final
{
public:
    struct Result
    {
        QString title;
        QString url;
        QString summary;
        bool isNew = false; // the bUpdate column
    };

    explicit CResultTables(CTrawlexDatabase &db);

    void deleteResults(int qid);
    // Reuses one prepared statement: call inside a transaction for many rows.
    void insertResult(int qid, const QString &title, const QString &url, const QString &summary, bool isNew);
    // The query's hits in the order they were stored.
    QList<Result> results(int qid);

    // Every stored address once (letter case ignored), sorted.
    QStringList sitesDistinct();
    // Queries with a stored address that contains site anywhere (letter case ignored), by name.
    QList<StoredQueryRef> queriesWithSite(const QString &site);

    // The stored path; a null string when the query has none.
    QString yahooPath(int qid);
    void insertYahoo(int qid, const QString &path);
    void deleteYahoo(int qid);

private:
    CTrawlexDatabase &m_db;
};
