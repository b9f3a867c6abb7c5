#include "CQuerySheetValidator.h"

#include "app/IUserPrompt.h"
#include "query/CQuerySheetEntries.h"
#include "query/CTrawlexQuery.h"
#include "store/CMainQueryTable.h"
#include "store/CSearchEngineTable.h"
#include "store/CTrawlexDoc.h"

#include <algorithm>

namespace {

// The selected engines that appear in capable (the [Search Engine] rows lacking an ability),
// in the rows' order.
QStringList selectedAmong(const QStringList &incapable, const QStringList &selected)
{
    QStringList names;
    for (const QString &name : incapable) {
        if (selected.contains(name, Qt::CaseSensitive))
            names << name;
    }
    return names;
}

bool excludes(const QString &text)
{
    return text.startsWith(QLatin1String("not ")) || text.contains(QLatin1String(" not "))
        || text.contains(QLatin1String("\nnot "));
}

} // namespace

CQuerySheetValidator::CQuerySheetValidator(CTrawlexDoc &doc, IUserPrompt &prompt)
    : m_doc(doc)
    , m_prompt(prompt)
{
}

bool CQuerySheetValidator::refuse(const QString &message)
{
    m_strRefusal = message;
    m_prompt.showMessage(message);
    return false;
}

bool CQuerySheetValidator::ValidateQuerySheet(const CQuerySheetEntries &entries)
{
    m_strRefusal.clear();

    // 1. The name as typed: a name of blanks passes here, as it always did.
    if (entries.m_strName.isEmpty())
        return refuse(QStringLiteral("Error!  Missing name of query."));

    // 2. A stored query of the same trimmed name (letter case ignored).
    const QString name = entries.m_strName.trimmed();
    bool overwrite = false;
    if (m_doc.MainQueries().countByName(name) != 0) {
        if (!m_prompt.askYesNo(QStringLiteral("Error!  Query name already exists.  Overwrite?")))
            return false;
        overwrite = true;
    }

    // 3. - 10. look at the query the sheet describes.
    CTrawlexQuery query;
    entries.FillQuery(query);
    QStringList engines;
    query.GetEngines(engines);
    const QString text = query.GetBooleanText();

    if (engines.isEmpty())
        return refuse(QStringLiteral("Error!  No Search engine selected."));

    if (!query.m_keywords.isEmpty()) {
        const bool anyIncluded = std::any_of(query.m_keywords.cbegin(), query.m_keywords.cend(),
                                             [](const CTrawlexKeyword &k) { return k.m_strQualifier == QLatin1String("include"); });
        if (!anyIncluded)
            return refuse(QStringLiteral("Error!  At least one keyword must be included in search to be meaningful."));
    }

    if (excludes(text) && engines.contains(QStringLiteral("InfoSeek")))
        return refuse(QStringLiteral("Error!  Excluding keywods or filters is not valid on InfoSeek search engine."));

    if (query.HasGroups()) {
        if (text.contains(QLatin1String("( )")))
            return refuse(QStringLiteral("Error!  Empty Group."));
        if (query.m_keywords.isEmpty())
            return refuse(QStringLiteral("Error!  At least one keyword must be present when querying with groups."));
        const QStringList without = selectedAmong(m_doc.SearchEngines().enginesWithoutGroups(), engines);
        if (!without.isEmpty())
            return refuse(QStringLiteral("Error!  The following search engines do not allow groups:  ") + without.join(QStringLiteral(", ")));
    }

    if (query.HasFilters()) {
        const QStringList without = selectedAmong(m_doc.SearchEngines().enginesWithoutFilters(), engines);
        if (!without.isEmpty())
            return refuse(QStringLiteral("Error!  The following search engines do not allow filters:  ") + without.join(QStringLiteral(", ")));
        if (text.contains(QLatin1String("Link:")) && engines.contains(QStringLiteral("Yahoo")))
            return refuse(QStringLiteral("Error!  Link filter not valid for Yahoo search engine."));
    }

    // 11. Everything passed: remember which stored query the first save replaces.
    if (overwrite) {
        const QList<int> qids = m_doc.MainQueries().qidsByName(name);
        if (!qids.isEmpty())
            m_doc.OverwriteQID = qids.first();
    }
    return true;
}
