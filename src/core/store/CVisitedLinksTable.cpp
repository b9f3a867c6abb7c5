#include "CVisitedLinksTable.h"

#include "CTrawlexDatabase.h"

#include <QSqlQuery>
#include <QVariant>

namespace {
// Local time with milliseconds, the same form as the column default.
const char kNow[] = "strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime')";

// "mmddyyyy" read digit by digit: this runs for every row at every page build.
QDate dayFromText(const QString &text)
{
    if (text.size() != 8)
        return {};
    int digits[8];
    for (int i = 0; i < 8; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return {};
        digits[i] = c - u'0';
    }
    return QDate(digits[4] * 1000 + digits[5] * 100 + digits[6] * 10 + digits[7], digits[0] * 10 + digits[1],
                 digits[2] * 10 + digits[3]);
}
} // namespace

CVisitedLinksTable::CVisitedLinksTable(CTrawlexDatabase &db)
    : m_db(db)
{
}

int CVisitedLinksTable::countVisits(const QString &url)
{
    return m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM [Query Results Date] WHERE URL = ?"), {url},
                       QStringLiteral("[Query Results Date] count"))
        .toInt();
}

void CVisitedLinksTable::updateVisit(const QString &url)
{
    m_db.run(QStringLiteral("UPDATE [Query Results Date] SET DateCreated = %1 WHERE URL = ?").arg(QLatin1String(kNow)),
             {url}, QStringLiteral("[Query Results Date] update"))
        .finish();
}

void CVisitedLinksTable::insertVisit(const QString &url)
{
    m_db.run(QStringLiteral("INSERT INTO [Query Results Date] (URL, DateCreated) VALUES (?, %1)").arg(QLatin1String(kNow)),
             {url}, QStringLiteral("[Query Results Date] insert"))
        .finish();
}

QList<CVisitedLinksTable::Visit> CVisitedLinksTable::visits()
{
    QSqlQuery &q = m_db.run(
        QStringLiteral("SELECT URL, strftime('%m%d%Y', DateCreated) FROM [Query Results Date] ORDER BY rowid"), {},
        QStringLiteral("[Query Results Date] list"));
    QList<Visit> list;
    while (q.next()) {
        const QString dayText = q.value(1).toString();
        list.append({q.value(0).toString(), dayText, dayFromText(dayText)});
    }
    q.finish();
    return list;
}

void CVisitedLinksTable::deleteVisit(const QString &url)
{
    m_db.run(QStringLiteral("DELETE FROM [Query Results Date] WHERE URL = ?"), {url},
             QStringLiteral("[Query Results Date] delete"))
        .finish();
}

void CVisitedLinksTable::recordVisit(const QString &url)
{
    if (countVisits(url) != 0)
        updateVisit(url);
    else
        insertVisit(url);
}
