#pragma once

#include "retrieval/web/EngineDefinition.h"

#include <QList>
#include <QString>

class CTrawlexDatabase;

// Statements on [Engine Definition] and the [Search Engine] rows of the engines the user
// added. Changes run in the caller's transaction.
class CEngineDefinitionTable final
{
public:
    struct Row
    {
        int sid = -1;
        EngineDefinition definition;
        QString problem; // why the stored row cannot be read, or empty
    };

    // A stored query that asks an engine.
    struct QueryUse
    {
        int qid = -1;
        QString name;
        int otherEngines = 0; // the query's engines besides this one
    };

    explicit CEngineDefinitionTable(CTrawlexDatabase &db);

    // Every added engine in key order.
    QList<Row> rows();
    // The new engine's SID.
    int insert(const EngineDefinition &definition);
    void update(int sid, const EngineDefinition &definition);
    // The engine's row, its definition and its place in the queries that asked it.
    void remove(int sid);
    QList<QueryUse> queriesUsing(int sid);

    // The address [Search Engine] shows for a definition: its template, with "|" encoded so
    // the engine address list stays readable.
    static QString listedAddress(const EngineDefinition &definition);

private:
    CTrawlexDatabase &m_db;
};
