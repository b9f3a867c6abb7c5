#include "CUserEngines.h"

#include "retrieval/EngineRegistry.h"
#include "retrieval/web/WebEngines.h"
#include "store/CMainQueryTable.h"
#include "store/CSearchEngineTable.h"
#include "store/CTrawlexDatabase.h"

namespace {

QString quotedList(const QList<CEngineDefinitionTable::QueryUse> &uses)
{
    QStringList names;
    for (const auto &u : uses)
        names << QLatin1Char('"') + u.name + QLatin1Char('"');
    return names.join(QStringLiteral(", "));
}

// The item "#name#@n@" of a level text: its start and its end (after the closing "@").
std::pair<qsizetype, qsizetype> levelItem(const QString &levels, const QString &engine)
{
    const QString head = QLatin1Char('#') + engine + QLatin1Char('#');
    const qsizetype start = levels.indexOf(head);
    if (start < 0)
        return {-1, -1};
    const qsizetype open = levels.indexOf(QLatin1Char('@'), start + head.size());
    const qsizetype close = open < 0 ? -1 : levels.indexOf(QLatin1Char('@'), open + 1);
    return {start, close < 0 ? levels.size() : close + 1};
}

} // namespace

CUserEngines::CUserEngines(CTrawlexDatabase &db)
    : CUserEngines(db, EngineRegistry::instance())
{
}

CUserEngines::CUserEngines(CTrawlexDatabase &db, EngineRegistry &registry)
    : m_db(db)
    , m_registry(registry)
{
}

QStringList CUserEngines::load()
{
    QStringList damaged;
    const QList<CEngineDefinitionTable::Row> rows = list();
    for (const EngineRegistry::Descriptor &d : m_registry.queryEngines()) {
        if (!d->builtIn)
            m_registry.remove(d->name);
    }
    for (const CEngineDefinitionTable::Row &row : rows) {
        if (!row.problem.isEmpty()) {
            damaged << QStringLiteral("%1: %2").arg(row.definition.name, row.problem);
            continue;
        }
        if (!m_registry.add(WebEngines::descriptor(row.definition)))
            damaged << QStringLiteral("%1: the name is taken by another engine").arg(row.definition.name);
    }
    return damaged;
}

QList<CEngineDefinitionTable::Row> CUserEngines::list()
{
    return CEngineDefinitionTable(m_db).rows();
}

std::optional<EngineDefinition> CUserEngines::find(const QString &name)
{
    for (const CEngineDefinitionTable::Row &row : list()) {
        if (row.definition.name.compare(name, Qt::CaseInsensitive) == 0)
            return row.definition;
    }
    return std::nullopt;
}

int CUserEngines::sidOf(const QString &name)
{
    for (const CEngineDefinitionTable::Row &row : list()) {
        if (row.definition.name.compare(name, Qt::CaseInsensitive) == 0)
            return row.sid;
    }
    return -1;
}

QString CUserEngines::nameTaken(const QString &name, const QString &except)
{
    if (!except.isEmpty() && name.compare(except, Qt::CaseInsensitive) == 0)
        return {};
    if (const EngineRegistry::Descriptor d = m_registry.findIgnoringCase(name))
        return d->builtIn ? QStringLiteral("\"%1\" is the name of a built-in engine.").arg(d->name)
                          : QStringLiteral("There is already an engine called \"%1\".").arg(d->name);
    if (CSearchEngineTable(m_db).engineSid(name) != -1)
        return QStringLiteral("There is already an engine called \"%1\".").arg(name);
    return {};
}

bool CUserEngines::add(const EngineDefinition &definition, QString *error)
{
    QString why = definition.problem();
    if (why.isEmpty())
        why = nameTaken(definition.name, QString());
    if (!why.isEmpty()) {
        *error = why;
        return false;
    }
    {
        CDbTransaction transaction(m_db);
        CEngineDefinitionTable(m_db).insert(definition);
        transaction.commit();
    }
    m_registry.add(WebEngines::descriptor(definition));
    return true;
}

bool CUserEngines::update(const QString &name, const EngineDefinition &definition, QString *error)
{
    const int sid = sidOf(name);
    if (sid < 0) {
        *error = QStringLiteral("There is no added engine called \"%1\".").arg(name);
        return false;
    }
    const QString oldName = CSearchEngineTable(m_db).engineName(sid);
    QString why = definition.problem();
    if (why.isEmpty())
        why = nameTaken(definition.name, oldName);
    if (!why.isEmpty()) {
        *error = why;
        return false;
    }
    {
        CDbTransaction transaction(m_db);
        CEngineDefinitionTable(m_db).update(sid, definition);
        if (oldName != definition.name) {
            CMainQueryTable queries(m_db);
            for (const CEngineDefinitionTable::QueryUse &use : CEngineDefinitionTable(m_db).queriesUsing(sid)) {
                if (const auto info = queries.levelAndEngineLevels(use.qid))
                    queries.setEngineLevels(use.qid, withRenamedLevel(info->engineLevels, oldName, definition.name));
            }
        }
        transaction.commit();
    }
    m_registry.remove(oldName);
    m_registry.add(WebEngines::descriptor(definition));
    return true;
}

QList<CEngineDefinitionTable::QueryUse> CUserEngines::queriesUsing(const QString &name)
{
    const int sid = sidOf(name);
    return sid < 0 ? QList<CEngineDefinitionTable::QueryUse>() : CEngineDefinitionTable(m_db).queriesUsing(sid);
}

bool CUserEngines::remove(const QString &name, bool fromQueries, QString *error)
{
    const int sid = sidOf(name);
    if (sid < 0) {
        const EngineRegistry::Descriptor d = m_registry.find(name);
        *error = d && d->builtIn ? QStringLiteral("\"%1\" is a built-in engine and cannot be removed.").arg(d->name)
                                 : QStringLiteral("There is no added engine called \"%1\".").arg(name);
        return false;
    }
    CEngineDefinitionTable table(m_db);
    const QString stored = CSearchEngineTable(m_db).engineName(sid);
    const QList<CEngineDefinitionTable::QueryUse> uses = table.queriesUsing(sid);
    QList<CEngineDefinitionTable::QueryUse> alone;
    for (const auto &u : uses) {
        if (u.otherEngines == 0)
            alone << u;
    }
    if (!alone.isEmpty()) {
        *error = QStringLiteral("\"%1\" is the only engine of %2: give them another engine or delete them first.")
                     .arg(stored, quotedList(alone));
        return false;
    }
    if (!uses.isEmpty() && !fromQueries) {
        *error = QStringLiteral("\"%1\" is asked by %2; removing it takes it out of them.").arg(stored, quotedList(uses));
        return false;
    }
    {
        CDbTransaction transaction(m_db);
        CMainQueryTable queries(m_db);
        for (const auto &u : uses) {
            if (const auto info = queries.levelAndEngineLevels(u.qid))
                queries.setEngineLevels(u.qid, withoutLevel(info->engineLevels, stored));
        }
        table.remove(sid);
        transaction.commit();
    }
    m_registry.remove(stored);
    return true;
}

QString CUserEngines::withoutLevel(const QString &levels, const QString &engine)
{
    const auto [start, end] = levelItem(levels, engine);
    if (start < 0)
        return levels;
    const QString rest = levels.left(start) + levels.mid(end);
    return rest.isEmpty() ? QStringLiteral(" ") : rest;
}

QString CUserEngines::withRenamedLevel(const QString &levels, const QString &from, const QString &to)
{
    const qsizetype start = levelItem(levels, from).first;
    if (start < 0)
        return levels;
    return levels.left(start) + QLatin1Char('#') + to + QLatin1Char('#') + levels.mid(start + from.size() + 2);
}
