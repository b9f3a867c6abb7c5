#include "CStoredQueryDefinition.h"

#include "CDaoException.h"
#include "CDefinitionTables.h"
#include "CMainQueryTable.h"
#include "CSearchEngineTable.h"
#include "query/CTrawlexQuery.h"

CStoredQueryDefinition::CStoredQueryDefinition(CTrawlexDatabase &db)
    : m_db(db)
{
}

void CStoredQueryDefinition::load(int qid, CTrawlexQuery &query)
{
    query.Clear();
    CSearchEngineTable engines(m_db);
    CDefinitionTables definitions(m_db);

    const QString name = CMainQueryTable(m_db).queryName(qid);
    if (name.isNull())
        throw CDaoException::noCurrentRecord(QStringLiteral("[Main Query] name"));
    query.m_strName = name;

    for (int sid : engines.queryEngineSids(qid)) {
        const QString engine = engines.engineName(sid);
        if (!engine.isNull())
            query.m_engines.append(engine);
    }

    for (const CDefinitionTables::Filter &f : definitions.filters(qid)) {
        const QList<CDefinitionTables::Word> words = definitions.filterWords(f.fid);
        if (words.isEmpty())
            throw CDaoException::noCurrentRecord(QStringLiteral("[Query Content] filter"));
        query.m_filters.append({words.first().qualifier, f.type, words.first().word});
    }

    for (int kid : definitions.keywordIds(qid)) {
        const QList<CDefinitionTables::Word> words = definitions.keywordWords(kid);
        if (words.isEmpty())
            throw CDaoException::noCurrentRecord(QStringLiteral("[Query Content] keyword"));
        query.m_keywords.append({words.first().word, words.first().qualifier});
    }

    for (const CDefinitionTables::Group &g : definitions.groups(qid)) {
        CTrawlexGroup group{g.name, g.qualifier, {}};
        for (const CDefinitionTables::Word &w : definitions.groupWords(g.gid))
            group.m_members.append({w.word, w.qualifier});
        query.m_groups.append(group);
    }
}

void CStoredQueryDefinition::insert(int qid, const CTrawlexQuery &query)
{
    CSearchEngineTable engines(m_db);
    CDefinitionTables definitions(m_db);

    for (const QString &engine : query.m_engines) {
        const int sid = engines.engineSid(engine);
        if (sid < 0)
            throw CDaoException::noCurrentRecord(QStringLiteral("[Search Engine] ") + engine);
        engines.insertQueryEngine(qid, sid);
    }
    for (const CTrawlexFilter &f : query.m_filters) {
        const int fid = definitions.insertFilter(qid, f.m_strType);
        definitions.insertFilterWord(qid, fid, f.m_strQualifier, f.m_strKeyword);
    }
    for (const CTrawlexKeyword &k : query.m_keywords) {
        const int kid = definitions.insertKeyword(qid);
        definitions.insertKeywordWord(qid, kid, k.m_strQualifier, k.m_strKeyword);
    }
    for (const CTrawlexGroup &g : query.m_groups) {
        const int gid = definitions.insertGroup(qid, g.m_strQualifier, g.m_strName);
        for (const CTrawlexKeyword &m : g.m_members)
            definitions.insertGroupWord(qid, gid, m.m_strQualifier, m.m_strKeyword);
    }
}
