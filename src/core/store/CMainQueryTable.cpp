#include "CMainQueryTable.h"

#include "CTrawlexDatabase.h"

#include <QSqlQuery>
#include <QVariant>

CMainQueryTable::CMainQueryTable(CTrawlexDatabase &db)
    : m_db(db)
{
}

int CMainQueryTable::insertQuery(const QString &name)
{
    QSqlQuery &q = m_db.run(QStringLiteral("INSERT INTO [Main Query] (QName) VALUES (?)"), {name},
                            QStringLiteral("[Main Query] insert"));
    // The connection's own last insert, not Max(QID): right even with another writer.
    const int qid = q.lastInsertId().toInt();
    q.finish();
    return qid;
}

int CMainQueryTable::maxQid()
{
    const QVariant v = m_db.scalar(QStringLiteral("SELECT Max(QID) FROM [Main Query]"), {},
                                   QStringLiteral("[Main Query] newest"));
    return v.isNull() ? -1 : v.toInt();
}

void CMainQueryTable::setLevel(int qid, int level)
{
    m_db.run(QStringLiteral("UPDATE [Main Query] SET Level = ? WHERE QID = ?"), {level, qid},
             QStringLiteral("[Main Query] level"))
        .finish();
}

void CMainQueryTable::setEngineLevels(int qid, const QString &engineLevels)
{
    m_db.run(QStringLiteral("UPDATE [Main Query] SET SearchEngineLevel = ? WHERE QID = ?"),
             {engineLevels, qid}, QStringLiteral("[Main Query] engine levels"))
        .finish();
}

void CMainQueryTable::deleteQuery(int qid)
{
    m_db.run(QStringLiteral("DELETE FROM [Main Query] WHERE QID = ?"), {qid},
             QStringLiteral("[Main Query] delete"))
        .finish();
}

QString CMainQueryTable::queryName(int qid)
{
    const QVariant v = m_db.scalar(QStringLiteral("SELECT QName FROM [Main Query] WHERE QID = ?"), {qid},
                                   QStringLiteral("[Main Query] name"));
    if (!v.isValid())
        return QString();
    QString name = v.toString();
    if (name.isNull())
        name = QLatin1String(""); // a stored empty name is still a query
    return name;
}

std::optional<CMainQueryTable::LevelInfo> CMainQueryTable::levelAndEngineLevels(int qid)
{
    QSqlQuery &q = m_db.run(QStringLiteral("SELECT Level, SearchEngineLevel FROM [Main Query] WHERE QID = ?"),
                            {qid}, QStringLiteral("[Main Query] levels"));
    std::optional<LevelInfo> info;
    if (q.next())
        info = LevelInfo{q.value(0).toInt(), q.value(1).toString()};
    q.finish();
    return info;
}

QList<int> CMainQueryTable::qidsByName(const QString &name)
{
    // SQLite's NOCASE folds ASCII only; names are few, so compare here for every letter.
    QSqlQuery &q = m_db.run(QStringLiteral("SELECT QID, QName FROM [Main Query] ORDER BY QID"), {},
                            QStringLiteral("[Main Query] by name"));
    QList<int> qids;
    while (q.next()) {
        if (q.value(1).toString().compare(name, Qt::CaseInsensitive) == 0)
            qids << q.value(0).toInt();
    }
    q.finish();
    return qids;
}

int CMainQueryTable::countByName(const QString &name)
{
    return int(qidsByName(name).size());
}

bool CMainQueryTable::isDone(int qid)
{
    return m_db.scalar(QStringLiteral("SELECT Done FROM [Main Query] WHERE QID = ?"), {qid},
                       QStringLiteral("[Main Query] done"))
               .toInt()
        != 0;
}

void CMainQueryTable::setDone(int qid)
{
    m_db.run(QStringLiteral("UPDATE [Main Query] SET Done = 1 WHERE QID = ?"), {qid},
             QStringLiteral("[Main Query] set done"))
        .finish();
}

QList<StoredQueryRef> CMainQueryTable::namesOrdered()
{
    QSqlQuery &q = m_db.run(QStringLiteral("SELECT QName, QID FROM [Main Query] ORDER BY QName, QID"), {},
                            QStringLiteral("[Main Query] names"));
    QList<StoredQueryRef> refs;
    while (q.next())
        refs.append({q.value(0).toString(), q.value(1).toInt()});
    q.finish();
    return refs;
}

QList<StoredQueryDate> CMainQueryTable::namesWithDates(const QString &sql)
{
    QSqlQuery &q = m_db.run(sql, {}, QStringLiteral("[Main Query] dates"));
    QList<StoredQueryDate> rows;
    while (q.next()) {
        const QDateTime when = parseStoredDate(q.value(2).toString());
        rows.append({q.value(0).toString(), q.value(1).toInt(), dateText(when), when});
    }
    q.finish();
    return rows;
}

QList<StoredQueryDate> CMainQueryTable::namesWithDatesByName()
{
    return namesWithDates(QStringLiteral(
        "SELECT QName, QID, LastRetrievalDate FROM [Main Query] ORDER BY QName, QID"));
}

QList<StoredQueryDate> CMainQueryTable::namesWithDatesByDate()
{
    return namesWithDates(QStringLiteral(
        "SELECT QName, QID, LastRetrievalDate FROM [Main Query] ORDER BY LastRetrievalDate, QID"));
}

QStringList CMainQueryTable::retrievalDatesOrdered()
{
    QSqlQuery &q = m_db.run(
        QStringLiteral("SELECT LastRetrievalDate FROM [Main Query] ORDER BY LastRetrievalDate, QID"), {},
        QStringLiteral("[Main Query] dates"));
    QStringList dates;
    while (q.next())
        dates << dateText(parseStoredDate(q.value(0).toString()));
    q.finish();
    return dates;
}

QList<CMainQueryTable::Row> CMainQueryTable::allQueries()
{
    QSqlQuery &q = m_db.run(
        QStringLiteral("SELECT QID, QName, Level, SearchEngineLevel, Done, LastRetrievalDate "
                       "FROM [Main Query] ORDER BY QID"),
        {}, QStringLiteral("[Main Query] list"));
    QList<Row> rows;
    while (q.next()) {
        rows.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toInt(), q.value(3).toString(),
                     q.value(4).toInt() != 0, parseStoredDate(q.value(5).toString())});
    }
    q.finish();
    return rows;
}

QString CMainQueryTable::dateText(const QDateTime &when)
{
    if (!when.isValid())
        return QString();
    const QDate d = when.date();
    QString text = QStringLiteral("%1/%2/%3").arg(d.month()).arg(d.day()).arg(d.year(), 4, 10, QLatin1Char('0'));
    const QTime t = when.time();
    if (t.hour() != 0 || t.minute() != 0 || t.second() != 0)
        text += QLatin1Char(' ') + t.toString(QStringLiteral("H:mm:ss"));
    return text;
}

QDateTime CMainQueryTable::parseStoredDate(const QString &stored)
{
    // Written by the column default: "yyyy-MM-dd HH:mm:ss.zzz", local time.
    QDateTime when = QDateTime::fromString(stored, QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    if (!when.isValid())
        when = QDateTime::fromString(stored, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!when.isValid())
        when = QDateTime::fromString(stored, Qt::ISODate);
    return when;
}
