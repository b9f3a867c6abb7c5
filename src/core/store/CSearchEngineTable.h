#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class CTrawlexDatabase;

// Statements on [Search Engine] (read only) and [Query Engines].
class CSearchEngineTable final
{
public:
    struct Engine
    {
        int sid = -1;
        QString name;
        QString url;
        bool filters = false;
        bool groups = false;
    };

    explicit CSearchEngineTable(CTrawlexDatabase &db);

    // Every engine row in key order.
    QList<Engine> engines();
    // "|" + name + "|" + address + "|" for every engine in key order.
    QString engineAddressList();
    static QString engineAddressList(const QList<Engine> &engines);

    // The engine's SID, or -1 when there is none of that name.
    int engineSid(const QString &name);
    // The engine's name; a null string when there is no such SID.
    QString engineName(int sid);
    QStringList enginesWithoutFilters();
    QStringList enginesWithoutGroups();

    // Points an engine at another address: for setting up a database (initdb), never used
    // by a run. Throws when there is no engine of that name.
    void setEngineAddress(const QString &name, const QString &url);
    // Points every engine the local engine simulator serves at hostPort ("127.0.0.1:8081"),
    // each with its own path there. Throws as setEngineAddress.
    void setSimulatorAddresses(const QString &hostPort);

    void insertQueryEngine(int qid, int sid);
    // The query's engines in the order they were stored.
    QList<int> queryEngineSids(int qid);

private:
    QStringList names(const QString &sql);

    CTrawlexDatabase &m_db;
};
