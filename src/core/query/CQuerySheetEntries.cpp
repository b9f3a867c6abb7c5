#include "CQuerySheetEntries.h"

#include "CTrawlexQuery.h"
#include "retrieval/EngineRegistry.h"

#include <QSet>

void CQuerySheetEntries::FillQuery(CTrawlexQuery &query) const
{
    query.Clear();
    query.m_strName = m_strName.trimmed();

    for (const QString &entry : m_keywordEntries) {
        if (entry.isEmpty())
            continue;
        query.m_keywords.append({AfterFirstColon(entry), BeforeFirstColon(entry)});
    }

    for (const QString &entry : m_groupEntries) {
        if (entry.isEmpty())
            continue;
        query.m_groups.append({AfterFirstColon(entry), BeforeFirstColon(entry), {}});
    }

    for (const QString &entry : m_memberEntries) {
        if (entry.isEmpty())
            continue;
        const QString rest = AfterFirstColon(entry);
        // A group name holding ":" splits wrongly and finds no group: the member has no place.
        const int group = query.FindGroup(BeforeFirstColon(entry));
        if (group < 0)
            continue;
        query.m_groups[group].m_members.append({AfterFirstColon(rest), BeforeFirstColon(rest)});
    }

    for (const QString &entry : m_filterEntries) {
        if (entry.isEmpty())
            continue;
        query.m_filters.append({SecondField(entry), BeforeFirstColon(entry), AfterLastColon(entry)});
    }

    const QSet<QString> chosen(m_engines.cbegin(), m_engines.cend());
    for (const QString &engine : EngineOrder()) {
        if (chosen.contains(engine))
            query.m_engines.append(engine);
    }
}

CQuerySheetEntries CQuerySheetEntries::FromQuery(const CTrawlexQuery &query)
{
    CQuerySheetEntries entries;
    entries.m_strName = query.m_strName;
    for (const CTrawlexKeyword &k : query.m_keywords)
        entries.m_keywordEntries.append(KeywordEntry(k));
    for (const CTrawlexGroup &g : query.m_groups) {
        entries.m_groupEntries.append(GroupEntry(g));
        for (const CTrawlexKeyword &m : g.m_members)
            entries.m_memberEntries.append(MemberEntry(g.m_strName, m));
    }
    for (const CTrawlexFilter &f : query.m_filters)
        entries.m_filterEntries.append(FilterEntry(f));
    entries.m_engines = query.m_engines;
    return entries;
}

QString CQuerySheetEntries::KeywordEntry(const CTrawlexKeyword &keyword)
{
    return keyword.m_strQualifier + QLatin1Char(':') + keyword.m_strKeyword;
}

QString CQuerySheetEntries::GroupEntry(const CTrawlexGroup &group)
{
    return group.m_strQualifier + QLatin1Char(':') + group.m_strName;
}

QString CQuerySheetEntries::MemberEntry(const QString &groupName, const CTrawlexKeyword &member)
{
    return groupName + QLatin1Char(':') + member.m_strQualifier + QLatin1Char(':') + member.m_strKeyword;
}

QString CQuerySheetEntries::FilterEntry(const CTrawlexFilter &filter)
{
    return filter.m_strType + QLatin1Char(':') + filter.m_strQualifier + QLatin1Char(':') + filter.m_strKeyword;
}

QString CQuerySheetEntries::BeforeFirstColon(const QString &entry)
{
    const qsizetype colon = entry.indexOf(QLatin1Char(':'));
    return colon < 0 ? QString() : entry.left(colon);
}

QString CQuerySheetEntries::AfterFirstColon(const QString &entry)
{
    const qsizetype colon = entry.indexOf(QLatin1Char(':'));
    return colon < 0 ? entry : entry.mid(colon + 1);
}

QString CQuerySheetEntries::AfterLastColon(const QString &entry)
{
    const qsizetype colon = entry.lastIndexOf(QLatin1Char(':'));
    return colon < 0 ? entry : entry.mid(colon + 1);
}

QString CQuerySheetEntries::SecondField(const QString &entry)
{
    const qsizetype first = entry.indexOf(QLatin1Char(':'));
    if (first < 0)
        return QString();
    const qsizetype second = entry.indexOf(QLatin1Char(':'), first + 1);
    return second < 0 ? entry.mid(first + 1) : entry.mid(first + 1, second - first - 1);
}

QStringList CQuerySheetEntries::EngineOrder()
{
    return EngineRegistry::instance().queryEngineNames();
}

bool CQuerySheetEntries::IsEngineName(const QString &name)
{
    return EngineOrder().contains(name);
}
