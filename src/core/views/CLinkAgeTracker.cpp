#include "CLinkAgeTracker.h"

#include "store/CTrawlexDatabase.h"
#include "store/CVisitedLinksTable.h"

#include <QSqlQuery>
#include <QVariant>

namespace {
constexpr qint64 kSecondsPerDay = 86400;

qint64 LocalMidnight(const QDate &day)
{
    return QDateTime(day, QTime(0, 0), Qt::LocalTime).toSecsSinceEpoch();
}
} // namespace

CLinkAgeTracker::CLinkAgeTracker(CTrawlexDatabase &db, int maxUrlDays, const IClock &clock)
    : m_db(db)
    , m_nMaxUrlDays(maxUrlDays)
    , m_clock(clock)
{
}

void CLinkAgeTracker::RecordLinkVisit(const QString &address)
{
    CVisitedLinksTable(m_db).recordVisit(address);
}

bool CLinkAgeTracker::IsExpired(const QDate &visitDay, int maxUrlDays, const QDateTime &now)
{
    return LocalMidnight(visitDay) + qint64(maxUrlDays) * kSecondsPerDay < now.toSecsSinceEpoch();
}

QDate CLinkAgeTracker::FirstKeptDay(int maxUrlDays, const QDateTime &now)
{
    // Start a little early: a daylight-saving change can move the boundary by one day.
    QDate day = now.toLocalTime().date().addDays(-qint64(maxUrlDays) - 2);
    while (IsExpired(day, maxUrlDays, now))
        day = day.addDays(1);
    return day;
}

void CLinkAgeTracker::DeleteExpired()
{
    // The visit time is stored as local "yyyy-MM-dd HH:mm:ss.zzz", so every row of an
    // expired day sorts before the first kept day's date text.
    const QString firstKept = FirstKeptDay(m_nMaxUrlDays, m_clock.now()).toString(QStringLiteral("yyyy-MM-dd"));
    m_db.run(QStringLiteral("DELETE FROM [Query Results Date] WHERE DateCreated < ?"), {firstKept},
             QStringLiteral("[Query Results Date] expire"))
        .finish();
}

QSet<QString> CLinkAgeTracker::LoadVisitedLinks()
{
    DeleteExpired();
    QSqlQuery &q = m_db.run(QStringLiteral("SELECT URL FROM [Query Results Date]"), {},
                            QStringLiteral("[Query Results Date] visited"));
    QSet<QString> visited;
    while (q.next())
        visited.insert(q.value(0).toString());
    q.finish();
    return visited;
}

QSet<QString> CLinkAgeTracker::LoadVisitedLinks(const QStringList &candidates)
{
    DeleteExpired();
    QSet<QString> visited;
    if (candidates.isEmpty())
        return visited;

    QString placeholders = QStringLiteral("?");
    for (qsizetype i = 1; i < candidates.size(); ++i)
        placeholders += QStringLiteral(", ?");
    QVariantList values;
    values.reserve(candidates.size());
    for (const QString &c : candidates)
        values << c;
    QSqlQuery &q = m_db.run(QStringLiteral("SELECT URL FROM [Query Results Date] WHERE URL IN (%1)").arg(placeholders),
                            values, QStringLiteral("[Query Results Date] visited"));
    // The table matches without regard to case; the set keeps the rows' own spelling, so only
    // an address written exactly so counts as visited.
    while (q.next())
        visited.insert(q.value(0).toString());
    q.finish();
    return visited;
}
