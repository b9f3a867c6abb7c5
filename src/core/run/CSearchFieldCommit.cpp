#include "CSearchFieldCommit.h"

#include "CQuerySheetValidator.h"

#include "query/CQuerySheetEntries.h"
#include "query/CSearchTextReader.h"
#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "store/CMainQueryTable.h"
#include "store/CStoredQueryDefinition.h"
#include "store/CTrawlexDoc.h"

namespace {

// The same search, whatever the engines: the same keywords and filters, letter case aside
// (the engines do not tell them apart either).
bool asksTheSame(const CTrawlexQuery &a, const CTrawlexQuery &b)
{
    const auto lowered = [](const CTrawlexQuery &q) {
        CQuerySheetEntries e = CQuerySheetEntries::FromQuery(q);
        QStringList all = e.m_keywordEntries + e.m_groupEntries + e.m_memberEntries;
        all << QString() << e.m_filterEntries; // keeps a keyword from matching a filter
        for (QString &s : all)
            s = s.toLower();
        return all;
    };
    return lowered(a) == lowered(b);
}

} // namespace

CSearchFieldCommit::CSearchFieldCommit(CTrawlexDoc &doc, CTrawlexQuery &query, CTrawlexQueryResults &results,
                                       IUserPrompt &prompt)
    : m_doc(doc)
    , m_query(query)
    , m_results(results)
    , m_prompt(prompt)
    , m_entries(std::make_unique<CQuerySheetEntries>())
{
}

CSearchFieldCommit::~CSearchFieldCommit() = default;

const CQuerySheetEntries &CSearchFieldCommit::Entries() const
{
    return *m_entries;
}

QString CSearchFieldCommit::ChooseName(CTrawlexDoc &doc, const CTrawlexQuery &query, const QString &base)
{
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? base : QStringLiteral("%1 (%2)").arg(base).arg(n);
        const QList<int> qids = doc.MainQueries().qidsByName(name);
        if (qids.isEmpty())
            return name;
        CTrawlexQuery stored;
        CStoredQueryDefinition(doc.Database()).load(qids.first(), stored);
        if (asksTheSame(stored, query))
            return name;
    }
}

CSearchFieldCommit::Outcome CSearchFieldCommit::Commit(const QString &text, const QStringList &engines)
{
    m_notes.clear();
    *m_entries = CQuerySheetEntries();
    if (text.trimmed().isEmpty())
        return Outcome::Blank;

    CSearchTextReader::Reading reading = CSearchTextReader::Read(text);
    m_notes = reading.notes;
    if (reading.query.m_keywords.isEmpty() && reading.query.m_filters.isEmpty()) {
        // An empty query would run with an empty text; the sheet allows it, a search box
        // says why nothing happens.
        QString message = NothingToSearchMessage();
        if (!m_notes.isEmpty())
            message += QStringLiteral("  ") + m_notes.join(QLatin1Char(' '));
        m_prompt.showMessage(message);
        return Outcome::Refused;
    }

    reading.query.m_strName = ChooseName(m_doc, reading.query, CSearchTextReader::QueryName(text));
    reading.query.m_engines = engines;
    *m_entries = CQuerySheetEntries::FromQuery(reading.query);

    // The rules and the commit of the sheet's OK; this object answers the overwrite question,
    // because the name was chosen above to replace only the same search.
    CQuerySheetValidator validator(m_doc, *this);
    if (!validator.ValidateQuerySheet(*m_entries))
        return Outcome::Refused;
    m_entries->FillQuery(m_query);
    m_results.SetRunning(true);
    return Outcome::Committed;
}

void CSearchFieldCommit::showMessage(const QString &text)
{
    m_prompt.showMessage(text);
}

bool CSearchFieldCommit::askYesNo(const QString &)
{
    return true;
}
