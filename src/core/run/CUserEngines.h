#pragma once

#include "store/CEngineDefinitionTable.h"

#include <QList>
#include <QString>
#include <QStringList>

class CTrawlexDatabase;
class EngineRegistry;

// The engines the user added: kept in the database and known to the registry, so a query,
// the engine page and the command line find them like the seven. Every change is one
// transaction; a refused or failed change leaves database and registry as they were.
class CUserEngines final
{
public:
    explicit CUserEngines(CTrawlexDatabase &db);
    CUserEngines(CTrawlexDatabase &db, EngineRegistry &registry);

    // Makes the registry hold exactly the stored engines. Returns a line for each stored
    // engine that cannot be read and is left out.
    QStringList load();

    QList<CEngineDefinitionTable::Row> list();
    // The stored definition of the engine of that name (letter case ignored).
    std::optional<EngineDefinition> find(const QString &name);

    // Refused, with the reason, for a definition with a problem or a name already taken by
    // any engine (letter case ignored).
    bool add(const EngineDefinition &definition, QString *error);
    // Replaces the definition of the engine called name; a new name is checked as for add
    // and the stored queries' page counters follow it.
    bool update(const QString &name, const EngineDefinition &definition, QString *error);

    QList<CEngineDefinitionTable::QueryUse> queriesUsing(const QString &name);
    // Removes an added engine. While stored queries ask it, only with fromQueries, which takes
    // it out of them; never when that would leave a query without any engine (it could no
    // longer run). The refusal names the queries.
    bool remove(const QString &name, bool fromQueries, QString *error);

    // The SearchEngineLevel text without, or with a renamed, "#name#@n@" item.
    static QString withoutLevel(const QString &levels, const QString &engine);
    static QString withRenamedLevel(const QString &levels, const QString &from, const QString &to);

private:
    int sidOf(const QString &name);
    QString nameTaken(const QString &name, const QString &except);

    CTrawlexDatabase &m_db;
    EngineRegistry &m_registry;
};
