#include "CResultTables.h"

#include "CTrawlexDatabase.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlQuery>
#include <QVariant>

CResultTables::CResultTables(CTrawlexDatabase &db)
    : m_db(db)
{
}

void CResultTables::deleteResults(int qid)
{
    m_db.run(QStringLiteral("DELETE FROM [Query Results] WHERE QID = ?"), {qid},
             QStringLiteral("[Query Results] delete"))
        .finish();
}

void CResultTables::insertResult(int qid, const QString &title, const QString &url, const QString &summary,
                                 bool isNew, const QStringList &engines)
{
    QSqlQuery &q = m_db.statement(QStringLiteral(
        "INSERT INTO [Query Results] (QID, Title, URL, Summary, bUpdate, Engines) VALUES (?, ?, ?, ?, ?, ?)"));
    q.bindValue(0, qid);
    // A null QString would bind as NULL and break NOT NULL; store empty text instead.
    q.bindValue(1, title.isNull() ? QLatin1String("") : title);
    q.bindValue(2, url.isNull() ? QLatin1String("") : url);
    q.bindValue(3, summary.isNull() ? QLatin1String("") : summary);
    q.bindValue(4, isNew ? 1 : 0);
    q.bindValue(5, EnginesText(engines));
    m_db.exec(q, QStringLiteral("[Query Results] insert"));
}

QList<CResultTables::Result> CResultTables::results(int qid)
{
    QSqlQuery &q = m_db.run(
        QStringLiteral("SELECT Title, URL, Summary, bUpdate, Engines FROM [Query Results] WHERE QID = ? ORDER BY rowid"),
        {qid}, QStringLiteral("[Query Results] list"));
    QList<Result> list;
    while (q.next())
        list.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toInt() != 0,
                     EnginesFromText(q.value(4).toString())});
    q.finish();
    return list;
}

QStringList CResultTables::sitesDistinct()
{
    QSqlQuery &q = m_db.run(QStringLiteral("SELECT DISTINCT URL FROM [Query Results] ORDER BY URL"), {},
                            QStringLiteral("[Query Results] addresses"));
    QStringList list;
    while (q.next())
        list << q.value(0).toString();
    q.finish();
    return list;
}

QList<StoredQueryRef> CResultTables::queriesWithSite(const QString &site)
{
    // instr() on lower-cased text instead of LIKE: a host never acts as a pattern.
    QSqlQuery &q = m_db.run(
        QStringLiteral("SELECT DISTINCT m.QName, m.QID FROM [Main Query] m JOIN [Query Results] r ON r.QID = m.QID "
                       "WHERE instr(lower(r.URL), lower(?)) > 0 ORDER BY m.QName, m.QID"),
        {site}, QStringLiteral("[Query Results] queries of site"));
    QList<StoredQueryRef> refs;
    while (q.next())
        refs.append({q.value(0).toString(), q.value(1).toInt()});
    q.finish();
    return refs;
}

QString CResultTables::yahooPath(int qid)
{
    const QVariant v = m_db.scalar(QStringLiteral("SELECT URL FROM [Yahoo] WHERE QID = ? ORDER BY rowid"), {qid},
                                   QStringLiteral("[Yahoo] path"));
    if (!v.isValid())
        return QString();
    QString path = v.toString();
    if (path.isNull())
        path = QLatin1String("");
    return path;
}

void CResultTables::insertYahoo(int qid, const QString &path)
{
    m_db.run(QStringLiteral("INSERT INTO [Yahoo] (QID, URL) VALUES (?, ?)"),
             {qid, path.isNull() ? QString(QLatin1String("")) : path}, QStringLiteral("[Yahoo] insert"))
        .finish();
}

void CResultTables::deleteYahoo(int qid)
{
    m_db.run(QStringLiteral("DELETE FROM [Yahoo] WHERE QID = ?"), {qid}, QStringLiteral("[Yahoo] delete")).finish();
}

namespace {

// Names JSON writes between quotes as they are, which all usual engine names are.
bool plainName(const QString &name)
{
    for (const QChar c : name) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\') || c.unicode() < 0x20)
            return false;
    }
    return true;
}

} // namespace

QString CResultTables::EnginesText(const QStringList &engines)
{
    // JSON rather than a separator: the names of added engines are the user's free text.
    if (engines.isEmpty())
        return QLatin1String("");
    // Every save writes every hit again, so the usual names skip the JSON writer.
    QString text = QStringLiteral("[");
    for (const QString &name : engines) {
        if (!plainName(name))
            return QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(engines)).toJson(QJsonDocument::Compact));
        if (text.size() > 1)
            text += QLatin1Char(',');
        text += QLatin1Char('"') + name + QLatin1Char('"');
    }
    return text + QLatin1Char(']');
}

QStringList CResultTables::EnginesFromText(const QString &text)
{
    if (text.isEmpty())
        return {};
    QStringList names;
    // What EnginesText writes for plain names: ["A","B"]. Without a backslash no quote can
    // stand inside a name, so the separators are exact.
    if (text.startsWith(QLatin1String("[\"")) && text.endsWith(QLatin1String("\"]")) && text.size() >= 4
        && !text.contains(QLatin1Char('\\'))) {
        const QList<QStringView> parts = QStringView(text).mid(2, text.size() - 4).split(u"\",\"");
        bool plain = true;
        for (const QStringView part : parts)
            plain = plain && !part.contains(QLatin1Char('"'));
        if (plain) {
            names.reserve(parts.size());
            for (const QStringView part : parts) {
                if (!part.isEmpty())
                    names << part.toString();
            }
            return names;
        }
    }
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    // A damaged cell loses only the origins of its hit, never the hit.
    for (const QJsonValue &v : doc.array()) {
        if (v.isString() && !v.toString().isEmpty())
            names << v.toString();
    }
    return names;
}
