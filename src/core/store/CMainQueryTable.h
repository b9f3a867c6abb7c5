#pragma once

#include "StoredQueryRef.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

class CTrawlexDatabase;

// Statements on [Main Query]. Every failure throws CDaoException.
class CMainQueryTable final
{
public:
    struct LevelInfo
    {
        int level = 0;
        QString engineLevels; // the SearchEngineLevel text
    };
    struct Row
    {
        int qid = -1;
        QString name;
        int level = 0;
        QString engineLevels;
        bool done = false;
        QDateTime retrieved;
    };

    explicit CMainQueryTable(CTrawlexDatabase &db);

    // Inserts a row for the name and returns its new QID.
    int insertQuery(const QString &name);
    // The largest QID, or -1 when no query is stored.
    int maxQid();
    void setLevel(int qid, int level);
    void setEngineLevels(int qid, const QString &engineLevels);
    void deleteQuery(int qid); // dependent rows go with it
    // The query's name; a null string when there is no such query.
    QString queryName(int qid);
    std::optional<LevelInfo> levelAndEngineLevels(int qid);
    // Name tests ignore letter case (non-ASCII letters included).
    QList<int> qidsByName(const QString &name);
    int countByName(const QString &name);
    bool isDone(int qid);
    void setDone(int qid);

    // For the tree: by name, and with insertion dates by name or by date.
    QList<StoredQueryRef> namesOrdered();
    QList<StoredQueryDate> namesWithDatesByName();
    QList<StoredQueryDate> namesWithDatesByDate();
    // Every insertion date as the time view's text, oldest first.
    QStringList retrievalDatesOrdered();
    // Every row, by QID.
    QList<Row> allQueries();

    // month/day/year (four-digit year), then " h:mm:ss" unless the time is midnight.
    static QString dateText(const QDateTime &when);
    // Reads the stored column text (local time).
    static QDateTime parseStoredDate(const QString &stored);

private:
    QList<StoredQueryDate> namesWithDates(const QString &sql);

    CTrawlexDatabase &m_db;
};
