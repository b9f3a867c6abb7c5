#include "CTrawlexDoc.h"

#include "CDaoException.h"
#include "CDefinitionTables.h"
#include "CMainQueryTable.h"
#include "CPagesTable.h"
#include "CResultTables.h"
#include "CSearchEngineTable.h"
#include "CTrawlexDatabase.h"
#include "CVisitedLinksTable.h"
#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"

#include <QPointer>


struct CTrawlexDoc::Tables
{
    explicit Tables(CTrawlexDatabase &db)
        : mainQueries(db)
        , searchEngines(db)
        , definitions(db)
        , results(db)
        , pages(db)
        , visitedLinks(db)
    {
    }

    CMainQueryTable mainQueries;
    CSearchEngineTable searchEngines;
    CDefinitionTables definitions;
    CResultTables results;
    CPagesTable pages;
    CVisitedLinksTable visitedLinks;
};

namespace {
QPointer<CTrawlexDoc> &activeDoc()
{
    static QPointer<CTrawlexDoc> doc;
    return doc;
}
} // namespace

CTrawlexDoc::CTrawlexDoc(QObject *parent)
    : QObject(parent)
    , m_query(std::make_unique<CTrawlexQuery>())
    , m_results(std::make_unique<CTrawlexQueryResults>())
{
}

CTrawlexDoc::~CTrawlexDoc()
{
    // The tables refer to the database: they go first.
    m_tables.reset();
    m_database.reset();
}

bool CTrawlexDoc::OpenDatabase(const QString &path, IUserPrompt *prompt)
{
    m_tables.reset();
    m_database.reset();
    try {
        const QString file = path.isEmpty() ? CTrawlexDatabase::locate() : path;
        auto db = std::make_unique<CTrawlexDatabase>(file);
        m_tables = std::make_unique<Tables>(*db);
        m_database = std::move(db);
        return true;
    } catch (const CDaoException &e) {
        ReportDaoError(e, prompt);
        return false;
    }
}

CTrawlexDatabase &CTrawlexDoc::Database() const
{
    if (!m_database)
        throw CDaoException(1, QStringLiteral("tx.mdb"), QStringLiteral("The database is not open."));
    return *m_database;
}

CMainQueryTable &CTrawlexDoc::MainQueries() const
{
    Database();
    return m_tables->mainQueries;
}

CSearchEngineTable &CTrawlexDoc::SearchEngines() const
{
    Database();
    return m_tables->searchEngines;
}

CDefinitionTables &CTrawlexDoc::Definitions() const
{
    Database();
    return m_tables->definitions;
}

CResultTables &CTrawlexDoc::Results() const
{
    Database();
    return m_tables->results;
}

CPagesTable &CTrawlexDoc::Pages() const
{
    Database();
    return m_tables->pages;
}

CVisitedLinksTable &CTrawlexDoc::VisitedLinks() const
{
    Database();
    return m_tables->visitedLinks;
}

void CTrawlexDoc::PrepareUpdate(CTrawlexQueryResults &results)
{
    results.ClearNewFlags();
    UpdateQID = results.Qid();
    UpdateLevel = results.Level();
    UpdateFirstNew = results.HitCount();
    results.SetQid(-1);
    results.SetRunning(true);
}

void CTrawlexDoc::PrepareUpdate()
{
    PrepareUpdate(*m_results);
}

void CTrawlexDoc::CancelUpdate(CTrawlexQueryResults &results)
{
    if (UpdateQID != -1)
        results.SetQid(UpdateQID);
    UpdateQID = -1;
    results.SetRunning(false);
}

void CTrawlexDoc::LoadEngineAddressList()
{
    m_strEngineAddressList.clear();
    m_strEngineAddressList = SearchEngines().engineAddressList();
}

CTrawlexDoc *GetActiveTrawlexDoc()
{
    return activeDoc().data();
}

void SetActiveTrawlexDoc(CTrawlexDoc *doc)
{
    activeDoc() = doc;
}
