#pragma once

#include "app/IUserPrompt.h"

#include <QString>
#include <QStringList>

#include <memory>

class CQuerySheetEntries;
class CTrawlexDoc;
class CTrawlexQuery;
class CTrawlexQueryResults;

// The search field's Enter, up to the run start: the text is read into a query, named after
// the text, checked by the rules the sheet's OK applies (the same messages refuse it) and
// put into the document as the query to run.
//
// Names: a search typed again is the same search, so the stored query of that name is
// replaced without the sheet's overwrite question. A stored query of that name that asks
// for something else (made on the sheet, or a long text cut to the same name) is kept, and
// the new one takes the first free name of "name (2)", "name (3)", ...
class CSearchFieldCommit final : private IUserPrompt
{
public:
    enum class Outcome {
        Committed, // the document's query is the search; the caller starts the run
        Blank,     // nothing typed: nothing happens
        Refused,   // a rule refused, or nothing was left to search for; the message is shown
    };

    CSearchFieldCommit(CTrawlexDoc &doc, CTrawlexQuery &query, CTrawlexQueryResults &results,
                       IUserPrompt &prompt);
    ~CSearchFieldCommit() override;
    CSearchFieldCommit(const CSearchFieldCommit &) = delete;
    CSearchFieldCommit &operator=(const CSearchFieldCommit &) = delete;

    // Database failures of the look-ups propagate as CDaoException; the document's query is
    // then unchanged.
    Outcome Commit(const QString &text, const QStringList &engines);

    // What the reading could not take as written (for the caller to show).
    const QStringList &Notes() const { return m_notes; }
    // The query's entries as committed (or as refused).
    const CQuerySheetEntries &Entries() const;

    // The name the query takes: base, or base with " (n)" when a stored query of that name
    // holds other keywords or filters.
    static QString ChooseName(CTrawlexDoc &doc, const CTrawlexQuery &query, const QString &base);

    static QString NothingToSearchMessage() { return QStringLiteral("Error!  Nothing to search for."); }

private:
    void showMessage(const QString &text) override;
    bool askYesNo(const QString &text) override;

    CTrawlexDoc &m_doc;
    CTrawlexQuery &m_query;
    CTrawlexQueryResults &m_results;
    IUserPrompt &m_prompt;
    QStringList m_notes;
    std::unique_ptr<CQuerySheetEntries> m_entries;
};
