#include "CTrawlexQuery.h"

namespace {

const QString kInclude = QStringLiteral("include");
const QString kExclude = QStringLiteral("exclude");
const QString kOptional = QStringLiteral("optional");

// Words with a blank go in double quotes so the engines take them as phrases.
void appendQuoted(QString &text, const QString &word)
{
    if (word.contains(QLatin1Char(' ')))
        text += QLatin1Char('"') + word + QLatin1Char('"');
    else
        text += word;
}

} // namespace

QString QualifierToOperator(const QString &qualifier)
{
    if (qualifier == kInclude)
        return QStringLiteral("and");
    if (qualifier == kExclude)
        return QStringLiteral("not");
    if (qualifier == kOptional)
        return QStringLiteral("or");
    return QStringLiteral("error");
}

void CTrawlexQuery::Clear()
{
    m_filters.clear();
    m_groups.clear();
    m_keywords.clear();
    m_engines.clear();
    m_strName.clear();
}

int CTrawlexQuery::FindGroup(const QString &name) const
{
    for (qsizetype i = 0; i < m_groups.size(); ++i) {
        if (m_groups.at(i).m_strName == name)
            return int(i);
    }
    return -1;
}

void CTrawlexQuery::GetEngines(QStringList &out) const
{
    out = m_engines;
}

QString CTrawlexQuery::GetBooleanText() const
{
    QString text;

    // The line starts with an included keyword: a leading operator word means nothing to the
    // engines. Without any included keyword the first one leads anyway.
    qsizetype lead = -1;
    for (qsizetype i = 0; i < m_keywords.size(); ++i) {
        if (m_keywords.at(i).m_strQualifier == kInclude) {
            lead = i;
            break;
        }
    }
    if (lead < 0) {
        for (qsizetype i = 0; i < m_keywords.size(); ++i) {
            if (!m_keywords.at(i).m_strQualifier.isEmpty()) {
                lead = i;
                break;
            }
        }
    }
    if (lead >= 0) {
        appendQuoted(text, m_keywords.at(lead).m_strKeyword);
        text += QLatin1Char(' ');
        for (qsizetype i = 0; i < m_keywords.size(); ++i) {
            const CTrawlexKeyword &k = m_keywords.at(i);
            if (i == lead || k.m_strQualifier.isEmpty())
                continue;
            text += QualifierToOperator(k.m_strQualifier) + QLatin1Char(' ');
            appendQuoted(text, k.m_strKeyword);
            text += QLatin1Char(' ');
        }
    }
    if (!text.isEmpty())
        text += QLatin1String("\r\n");

    for (const CTrawlexGroup &g : m_groups) {
        if (g.m_strQualifier == kInclude)
            text += QLatin1String("and ");
        else if (g.m_strQualifier == kExclude)
            text += QLatin1String("not ");
        else if (g.m_strQualifier == kOptional)
            text += QLatin1String("or ");
        text += QLatin1String(" (");
        for (qsizetype j = 0; j < g.m_members.size(); ++j) {
            const CTrawlexKeyword &m = g.m_members.at(j);
            if (m.m_strQualifier.isEmpty())
                continue;
            if (j == 0) {
                // The first member needs no "and"/"or" to join it to anything.
                text += QLatin1Char(' ');
                if (m.m_strQualifier == kExclude)
                    text += QLatin1String("not ");
                else if (m.m_strQualifier != kInclude && m.m_strQualifier != kOptional)
                    text += QLatin1String("error ");
            } else {
                text += QualifierToOperator(m.m_strQualifier) + QLatin1Char(' ');
            }
            appendQuoted(text, m.m_strKeyword);
            text += QLatin1Char(' ');
        }
        text += QLatin1String(" )\r\n");
    }

    for (const CTrawlexFilter &f : m_filters) {
        text += QualifierToOperator(f.m_strQualifier) + QLatin1Char(' ') + f.m_strType + QLatin1Char(':');
        appendQuoted(text, f.m_strKeyword);
        text += QLatin1String("\r\n");
    }
    return text;
}

bool CTrawlexQuery::HasFilters() const
{
    return GetBooleanText().contains(QLatin1Char(':'));
}

bool CTrawlexQuery::HasGroups() const
{
    return GetBooleanText().contains(QLatin1Char('('));
}
