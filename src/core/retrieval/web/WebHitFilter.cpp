#include "WebHitFilter.h"

#include "query/CTrawlexQuery.h"

namespace {

const QString kInclude = QStringLiteral("include");
const QString kExclude = QStringLiteral("exclude");

QRegularExpression wholeWords(const QString &keyword)
{
    QStringList parts;
    for (const QString &w : keyword.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        parts << QRegularExpression::escape(w);
    return QRegularExpression(QStringLiteral("(?<!\\w)") + parts.join(QStringLiteral("\\s+")) + QStringLiteral("(?!\\w)"),
                              QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
}

bool containsAny(const QString &text, const QStringList &words)
{
    for (const QString &w : words) {
        if (text.contains(w, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool containsAll(const QString &text, const QStringList &words)
{
    for (const QString &w : words) {
        if (!text.contains(w, Qt::CaseInsensitive))
            return false;
    }
    return true;
}

} // namespace

WebHitFilter::WebHitFilter(const CTrawlexQuery &query)
{
    auto exclude = [this](const QString &keyword) {
        const QString k = QString(keyword).remove(QLatin1Char('"')).simplified();
        if (!k.isEmpty())
            m_excluded << wholeWords(k);
    };
    for (const CTrawlexKeyword &k : query.m_keywords) {
        if (k.m_strQualifier == kExclude)
            exclude(k.m_strKeyword);
    }
    for (const CTrawlexGroup &g : query.m_groups) {
        if (g.m_strQualifier != kInclude)
            continue;
        for (const CTrawlexKeyword &m : g.m_members) {
            if (m.m_strQualifier == kExclude)
                exclude(m.m_strKeyword);
        }
    }
    for (const CTrawlexFilter &f : query.m_filters) {
        const QString word = f.m_strKeyword.simplified();
        if (word.isEmpty())
            continue;
        const bool include = f.m_strQualifier == kInclude;
        const bool excludeIt = f.m_strQualifier == kExclude;
        if (f.m_strType == QLatin1String("Title")) {
            if (include)
                m_titleMust << word;
            else if (excludeIt)
                m_titleMustNot << word;
        } else if (f.m_strType == QLatin1String("URL")) {
            if (include)
                m_urlMust << word;
            else if (excludeIt)
                m_urlMustNot << word;
        }
    }
}

bool WebHitFilter::accepts(const EngineHit &hit) const
{
    for (const QRegularExpression &re : m_excluded) {
        if (re.match(hit.title).hasMatch() || re.match(hit.summary).hasMatch() || re.match(hit.url).hasMatch())
            return false;
    }
    return containsAll(hit.title, m_titleMust) && !containsAny(hit.title, m_titleMustNot)
           && containsAll(hit.url, m_urlMust) && !containsAny(hit.url, m_urlMustNot);
}
