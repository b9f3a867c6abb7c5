#pragma once

#include "StoredQueryRef.h"
#include "query/CTrawlexHit.h"

#include <QList>
#include <QString>
#include <QStringList>

class CTrawlexDatabase;

// Statements on [Query Results] and [Yahoo], the stored hits of a query and Yahoo's
// continuation path.
class CResultTables final
{
public:
    // isNew is the bUpdate column; engines are empty for hits stored before they were kept.
    using Result = CTrawlexHit;

    explicit CResultTables(CTrawlexDatabase &db);

    void deleteResults(int qid);
    // Reuses one prepared statement: call inside a transaction for many rows.
    void insertResult(int qid, const QString &title, const QString &url, const QString &summary, bool isNew,
                      const QStringList &engines = {});
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

    // The Engines column's text: a JSON array of names, or empty text for none.
    static QString EnginesText(const QStringList &engines);
    // Its list again; text that is no array of names gives an empty list.
    static QStringList EnginesFromText(const QString &text);

private:
    CTrawlexDatabase &m_db;
};
