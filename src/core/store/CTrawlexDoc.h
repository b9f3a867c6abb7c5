#pragma once

#include <QObject>
#include <QString>

#include <memory>

class CDefinitionTables;
class CMainQueryTable;
class CPagesTable;
class CResultTables;
class CSearchEngineTable;
class CTrawlexDatabase;
class CTrawlexQuery;
class CTrawlexQueryResults;
class CVisitedLinksTable;
class IUserPrompt;

// The program's state: the open tx.mdb and its statement classes, the query being defined or
// run, the results set on show, the bookkeeping of an update or overwrite and the engine
// address list. Used on the user-interface thread; workers get copies of what they need.
class CTrawlexDoc final : public QObject
{
    Q_OBJECT

public:
    explicit CTrawlexDoc(QObject *parent = nullptr);
    ~CTrawlexDoc() override;

    // Opens tx.mdb at path, or where CTrawlexDatabase::locate() finds it when path is empty.
    // A failure is reported once through prompt (or stderr) and leaves the document without a
    // database; the caller then ends its start-up.
    bool OpenDatabase(const QString &path, IUserPrompt *prompt);
    bool HasDatabase() const { return m_database != nullptr; }
    // The open database; only valid while HasDatabase().
    CTrawlexDatabase &Database() const;

    // The statement classes of the open database.
    CMainQueryTable &MainQueries() const;
    CSearchEngineTable &SearchEngines() const;
    CDefinitionTables &Definitions() const;
    CResultTables &Results() const;
    CPagesTable &Pages() const;
    CVisitedLinksTable &VisitedLinks() const;

    // The query being defined or run, and the results set of the query on show.
    CTrawlexQuery &Query() const { return *m_query; }
    CTrawlexQueryResults &ResultsSet() const { return *m_results; }

    // The data side of Update Query, once the selected query (if any) and its results are
    // loaded into results: every hit stops being new, the update bookkeeping takes the stored
    // query's QID, level and hit count, and the results set runs without a QID. With no query
    // on show (QID -1) UpdateQID stays -1 and the run is a fresh run of the loaded query.
    void PrepareUpdate(CTrawlexQueryResults &results);
    void PrepareUpdate();
    // Undoes PrepareUpdate when the run could not start: the stored query is on show again.
    void CancelUpdate(CTrawlexQueryResults &results);

    // Rebuilds the engine address list from [Search Engine]; throws CDaoException.
    void LoadEngineAddressList();
    const QString &EngineAddressList() const { return m_strEngineAddressList; }

    // True until the first new-document call of the start-up has been made.
    bool m_bFirstNewDocument = true;

    // QID of the stored query a running update replaces, or -1.
    int UpdateQID = -1;
    bool IsUpdating() const { return UpdateQID != -1; }
    // Level the updated query had reached; the update runs passes up to it.
    int UpdateLevel = 0;
    // Number of hits before the update; hits from this index on are new.
    int UpdateFirstNew = 0;
    // QID of a stored query of the same name the save in progress replaces, or -1.
    int OverwriteQID = -1;

private:
    struct Tables;

    std::unique_ptr<CTrawlexDatabase> m_database;
    std::unique_ptr<Tables> m_tables;
    std::unique_ptr<CTrawlexQuery> m_query;
    std::unique_ptr<CTrawlexQueryResults> m_results;
    QString m_strEngineAddressList;
};

// The document of the running program (the desktop app's or the command line's), or null.
CTrawlexDoc *GetActiveTrawlexDoc();
// Registers the document GetActiveTrawlexDoc() returns; null unregisters.
void SetActiveTrawlexDoc(CTrawlexDoc *doc);
