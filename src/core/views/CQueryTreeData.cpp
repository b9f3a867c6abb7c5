#include "CQueryTreeData.h"

#include "TrawlexIds.h"
#include "store/CDefinitionTables.h"
#include "store/CMainQueryTable.h"
#include "store/CResultTables.h"

#include <QSet>
#include <QStringList>
#include <QUrl>

using namespace TrawlexIds;

namespace {
struct KeyParts
{
    int month = 0;
    int day = 0;
    int year = 0;
    bool isDay = false;
    bool valid = false;
};

// "12/2026" or "12/7/2026".
KeyParts ParseKey(const QString &key)
{
    KeyParts k;
    const QStringList parts = key.split(QLatin1Char('/'));
    bool ok1 = false, ok2 = false, ok3 = true;
    if (parts.size() == 2) {
        k.month = parts[0].toInt(&ok1);
        k.year = parts[1].toInt(&ok2);
    } else if (parts.size() == 3) {
        k.isDay = true;
        k.month = parts[0].toInt(&ok1);
        k.day = parts[1].toInt(&ok2);
        k.year = parts[2].toInt(&ok3);
    }
    k.valid = ok1 && ok2 && ok3;
    return k;
}

QList<CQueryTreeData::Entry> ToEntries(const QList<StoredQueryRef> &refs)
{
    QList<CQueryTreeData::Entry> entries;
    entries.reserve(refs.size());
    for (const StoredQueryRef &r : refs)
        entries.append({r.name, r.qid});
    return entries;
}

// Keeps the first of equal texts, in order.
void AppendOnce(QList<CQueryTreeData::Entry> &entries, QSet<QString> &seen, const QString &text)
{
    if (seen.contains(text))
        return;
    seen.insert(text);
    entries.append({text, -1});
}
} // namespace

CQueryTreeData::CQueryTreeData(CTrawlexDatabase &db)
    : m_db(db)
{
}

QString CQueryTreeData::HostOf(const QString &address)
{
    // An address that does not parse gives an empty host, as it always did.
    return QUrl(address, QUrl::TolerantMode).host();
}

QString CQueryTreeData::MonthKey(const QDate &day)
{
    return QStringLiteral("%1/%2").arg(day.month()).arg(day.year(), 4, 10, QLatin1Char('0'));
}

QString CQueryTreeData::DayKey(const QDate &day)
{
    return QStringLiteral("%1/%2/%3").arg(day.month()).arg(day.day()).arg(day.year(), 4, 10, QLatin1Char('0'));
}

QList<CQueryTreeData::Entry> CQueryTreeData::TopLevel(int nView)
{
    QList<Entry> entries;
    QSet<QString> seen;
    switch (nView) {
    case ID_VIEW_NAME:
        return ToEntries(CMainQueryTable(m_db).namesOrdered());
    case ID_VIEW_SITE:
        for (const QString &address : CResultTables(m_db).sitesDistinct())
            AppendOnce(entries, seen, HostOf(address));
        break;
    case ID_VIEW_KEYWORD:
        for (const QString &keyword : CDefinitionTables(m_db).keywordsDistinct())
            AppendOnce(entries, seen, keyword.toLower());
        break;
    case ID_VIEW_TIME:
        // The stored time is read as a value, so the keys do not depend on a date format.
        for (const StoredQueryDate &row : CMainQueryTable(m_db).namesWithDatesByDate()) {
            if (row.retrieved.isValid())
                AppendOnce(entries, seen, MonthKey(row.retrieved.date()));
        }
        break;
    default:
        break;
    }
    return entries;
}

QList<CQueryTreeData::Entry> CQueryTreeData::Children(int nView, const QString &key)
{
    switch (nView) {
    case ID_VIEW_SITE:
        return ToEntries(CResultTables(m_db).queriesWithSite(key));
    case ID_VIEW_KEYWORD:
        return ToEntries(CDefinitionTables(m_db).queriesWithKeyword(key));
    case ID_VIEW_TIME:
        break;
    default:
        return {};
    }

    const KeyParts k = ParseKey(key);
    QList<Entry> entries;
    if (!k.valid)
        return entries;
    CMainQueryTable mainQuery(m_db);
    if (!k.isDay) {
        QSet<QString> seen;
        for (const StoredQueryDate &row : mainQuery.namesWithDatesByDate()) {
            const QDate d = row.retrieved.date();
            if (row.retrieved.isValid() && d.month() == k.month && d.year() == k.year)
                AppendOnce(entries, seen, DayKey(d));
        }
    } else {
        for (const StoredQueryDate &row : mainQuery.namesWithDatesByName()) {
            const QDate d = row.retrieved.date();
            if (row.retrieved.isValid() && d.month() == k.month && d.day() == k.day && d.year() == k.year)
                entries.append({row.name, row.qid});
        }
    }
    return entries;
}
