#include "CSearchEngineTable.h"

#include "CDaoException.h"
#include "CTrawlexDatabase.h"

#include <QSqlQuery>
#include <QVariant>

#include <utility>

CSearchEngineTable::CSearchEngineTable(CTrawlexDatabase &db)
    : m_db(db)
{
}

QList<CSearchEngineTable::Engine> CSearchEngineTable::engines()
{
    QSqlQuery &q = m_db.run(QStringLiteral("SELECT SID, SName, URL, filters, groups FROM [Search Engine] ORDER BY SID"),
                            {}, QStringLiteral("[Search Engine] list"));
    QList<Engine> list;
    while (q.next()) {
        list.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(),
                     q.value(3).toInt() != 0, q.value(4).toInt() != 0});
    }
    q.finish();
    return list;
}

QString CSearchEngineTable::engineAddressList()
{
    return engineAddressList(engines());
}

QString CSearchEngineTable::engineAddressList(const QList<Engine> &engines)
{
    QString text;
    for (const Engine &e : engines)
        text += QLatin1Char('|') + e.name + QLatin1Char('|') + e.url + QLatin1Char('|');
    return text;
}

int CSearchEngineTable::engineSid(const QString &name)
{
    const QVariant v = m_db.scalar(QStringLiteral("SELECT SID FROM [Search Engine] WHERE SName = ? ORDER BY SID"),
                                   {name}, QStringLiteral("[Search Engine] by name"));
    return v.isValid() && !v.isNull() ? v.toInt() : -1;
}

QString CSearchEngineTable::engineName(int sid)
{
    const QVariant v = m_db.scalar(QStringLiteral("SELECT SName FROM [Search Engine] WHERE SID = ?"), {sid},
                                   QStringLiteral("[Search Engine] name"));
    return v.isValid() ? v.toString() : QString();
}

QStringList CSearchEngineTable::names(const QString &sql)
{
    QSqlQuery &q = m_db.run(sql, {}, QStringLiteral("[Search Engine] abilities"));
    QStringList list;
    while (q.next())
        list << q.value(0).toString();
    q.finish();
    return list;
}

QStringList CSearchEngineTable::enginesWithoutFilters()
{
    return names(QStringLiteral("SELECT SName FROM [Search Engine] WHERE filters = 0 ORDER BY SID"));
}

QStringList CSearchEngineTable::enginesWithoutGroups()
{
    return names(QStringLiteral("SELECT SName FROM [Search Engine] WHERE groups = 0 ORDER BY SID"));
}

void CSearchEngineTable::setEngineAddress(const QString &name, const QString &url)
{
    QSqlQuery &q = m_db.run(QStringLiteral("UPDATE [Search Engine] SET URL = ? WHERE SName = ?"), {url, name},
                            QStringLiteral("[Search Engine] address"));
    const int changed = q.numRowsAffected();
    q.finish();
    if (changed < 1)
        throw CDaoException(1, QStringLiteral("[Search Engine] address"),
                            QStringLiteral("no search engine named '%1'").arg(name));
}

void CSearchEngineTable::setSimulatorAddresses(const QString &hostPort)
{
    // The simulator dispatches on the first segment of the path.
    static const std::pair<const char *, const char *> paths[] = {
        {"AltaVista", "/altavista/cgi-bin/query"},
        {"Excite", "/excite/search.gw"},
        {"HotBot", "/hotbot"},
        {"HotBotRepeat", "/hotbot-repeat"},
        {"InfoSeek", "/infoseek/"},
        {"Lycos", "/lycos/"},
        {"Magellan", "/magellan/"},
        {"Yahoo", "/yahoo/"},
    };
    for (const auto &[name, path] : paths)
        setEngineAddress(QLatin1String(name), hostPort + QLatin1String(path));
}

void CSearchEngineTable::insertQueryEngine(int qid, int sid)
{
    m_db.run(QStringLiteral("INSERT INTO [Query Engines] (QID, SID) VALUES (?, ?)"), {qid, sid},
             QStringLiteral("[Query Engines] insert"))
        .finish();
}

QList<int> CSearchEngineTable::queryEngineSids(int qid)
{
    QSqlQuery &q = m_db.run(QStringLiteral("SELECT SID FROM [Query Engines] WHERE QID = ? ORDER BY rowid"), {qid},
                            QStringLiteral("[Query Engines] list"));
    QList<int> sids;
    while (q.next())
        sids << q.value(0).toInt();
    q.finish();
    return sids;
}
