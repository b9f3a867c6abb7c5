#pragma once

#include "CRunMonitor.h"
#include "export/CResultsExporter.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class CEngineTest;
class CQuerySheetEntries;
class CTrawlexDoc;
class CTrawlexQuery;
class CTrawlexQueryResults;
class IUserPrompt;

// The commands on queries, each carried out in this one place for the window and the command
// line alike: what is checked, loaded, asked, saved, and put back when a step fails. A
// database failure is reported once through the prompt and comes back as false; how a run
// goes and ends, the run monitor's signals tell.
class CQueryCommands final
{
public:
    // Commands on the document's query and results set.
    CQueryCommands(CTrawlexDoc &doc, IUserPrompt &prompt);
    CQueryCommands(CTrawlexDoc &doc, CTrawlexQuery &query, CTrawlexQueryResults &results, IUserPrompt &prompt);
    CQueryCommands(const CQueryCommands &) = delete;
    CQueryCommands &operator=(const CQueryCommands &) = delete;

    // Carries out the runs; without one nothing runs (views tested on their own).
    void setRunMonitor(CRunMonitor *monitor) { m_pMonitor = monitor; }
    // The limits of a run, asked for at every start so that changed settings take effect with
    // the next run. Without it the monitor keeps the limits it has.
    void setLimits(std::function<CRunMonitor::Limits()> limits) { m_limits = std::move(limits); }

    CTrawlexQuery &query() const { return m_query; }
    CTrawlexQueryResults &results() const { return m_results; }
    bool hasDatabase() const;
    // A run owns the query and the results until it ends.
    bool isRunning() const;
    // The stored query whose hits are held; -1 when they are not stored (yet).
    int shownQueryId() const;

    // The sheet's OK: checks the entries and makes them the query. Refused when a rule refused
    // or the overwrite was declined, Failed when a look-up failed (either has been shown).
    enum class Commit { Committed, Refused, Failed };
    Commit commitSheet(const CQuerySheetEntries &entries);
    // Enter in the search field: the text as a query over engines, committed and run. notes
    // gets what the reading could not take as written.
    bool searchFor(const QString &text, const QStringList &engines, QStringList &notes);
    // A fresh run of the committed query (new or opened). When it cannot start the commands
    // are usable again.
    bool runCommitted();
    // The definition of stored query qid becomes the query (Open Query, Update Query).
    bool loadQuery(int qid);
    // Selecting a stored query: its hits and its definition are held. After a failure what was
    // loaded may be half the query; the caller shows no page.
    bool showStoredQuery(int qid);
    // Update Query on stored query qid (-1: a fresh run of the query held). The hits held stop
    // being new and the run marks the ones it finds; a run that cannot start puts the stored
    // query back on show.
    bool updateQuery(int qid);
    // More past the hits held: every engine is asked for its next page.
    bool moreResults();
    void stop();
    // Deletes stored query qid and what belongs to it; when its hits are held they go too.
    bool deleteQuery(int qid);
    // The newest stored query's QID (-1 when there is none); nothing when reading failed.
    std::optional<int> newestQueryId();
    // Writes the hits of the stored query on show; the number written, or nothing when it
    // failed (reported).
    std::optional<qsizetype> exportResults(const QString &path, CResultsExporter::Format format);

    // Starts test on engine for the first page of words, with a run's time limit for one
    // engine (see CEngineTest::start).
    bool startEngineTest(CEngineTest &test, const QString &engine, const QStringList &words);

private:
    bool startRun(bool bContinue);
    int maxDelay() const;

    CTrawlexDoc &m_doc;
    CTrawlexQuery &m_query;
    CTrawlexQueryResults &m_results;
    IUserPrompt &m_prompt;
    CRunMonitor *m_pMonitor = nullptr;
    std::function<CRunMonitor::Limits()> m_limits;
};
