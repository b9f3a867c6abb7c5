#include "CEngineDefinitionTable.h"

#include "CTrawlexDatabase.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlQuery>
#include <QVariant>

namespace {

const QString kSource = QStringLiteral("[Engine Definition]");

QString paramsJson(const QList<OpenSearchUrl::Param> &params)
{
    QJsonArray array;
    for (const OpenSearchUrl::Param &p : params)
        array.append(QJsonArray{p.name, p.value});
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

bool readParams(const QString &json, QList<OpenSearchUrl::Param> &out)
{
    const QJsonDocument doc = QJsonDocument::fromJson(json.toUtf8());
    if (!doc.isArray())
        return false;
    for (const QJsonValue &v : doc.array()) {
        const QJsonArray pair = v.toArray();
        if (pair.size() != 2 || !pair.at(0).isString() || !pair.at(1).isString())
            return false;
        out.append({pair.at(0).toString(), pair.at(1).toString()});
    }
    return true;
}

QVariantList values(const EngineDefinition &d)
{
    return {d.formatName(),
            d.url.templateText,
            d.url.method,
            paramsJson(d.url.params),
            d.url.indexOffset,
            d.url.pageOffset,
            d.pageSize,
            WebQueryText::operatorNames(d.operators),
            d.mapping ? QString::fromUtf8(d.mapping->toJson()) : QString(),
            d.description,
            d.inputEncoding,
            d.source};
}

} // namespace

CEngineDefinitionTable::CEngineDefinitionTable(CTrawlexDatabase &db)
    : m_db(db)
{
}

QString CEngineDefinitionTable::listedAddress(const EngineDefinition &definition)
{
    return QString(definition.url.templateText).replace(QLatin1Char('|'), QLatin1String("%7C"));
}

QList<CEngineDefinitionTable::Row> CEngineDefinitionTable::rows()
{
    QSqlQuery &q = m_db.run(
        QStringLiteral("SELECT d.SID, e.SName, d.Format, d.Template, d.Method, d.Params, d.IndexOffset, d.PageOffset,"
                       " d.PageSize, d.Operators, d.Mapping, d.Description, d.InputEncoding, d.Source"
                       " FROM [Engine Definition] d JOIN [Search Engine] e ON e.SID = d.SID ORDER BY d.SID"),
        {}, kSource);
    QList<Row> list;
    while (q.next()) {
        Row row;
        row.sid = q.value(0).toInt();
        EngineDefinition &d = row.definition;
        d.name = q.value(1).toString();
        const QString format = q.value(2).toString();
        d.url.templateText = q.value(3).toString();
        d.url.method = q.value(4).toString().toUpper();
        d.url.indexOffset = q.value(6).toLongLong();
        d.url.pageOffset = q.value(7).toLongLong();
        d.pageSize = q.value(8).toInt();
        d.operators = WebQueryText::operatorsFromNames(q.value(9).toString());
        const QString mapping = q.value(10).toString();
        d.description = q.value(11).toString();
        d.inputEncoding = q.value(12).toString();
        d.source = q.value(13).toString();
        if (!d.setFormatName(format)) {
            row.problem = QStringLiteral("unknown format \"%1\"").arg(format);
        } else if (!readParams(q.value(5).toString(), d.url.params)) {
            row.problem = QStringLiteral("its parameters cannot be read");
        } else if (d.mapping) {
            QString why;
            d.mapping = JsonMapping::fromJson(mapping.toUtf8(), &why);
            if (!d.mapping)
                row.problem = why;
        }
        d.url.type = FeedFormats::mediaType(d.format);
        if (row.problem.isEmpty())
            row.problem = d.problem();
        list.append(row);
    }
    q.finish();
    return list;
}

int CEngineDefinitionTable::insert(const EngineDefinition &definition)
{
    QSqlQuery &q = m_db.run(QStringLiteral("INSERT INTO [Search Engine] (SName, URL, filters, groups) VALUES (?, ?, 1, 1)"),
                            {definition.name, listedAddress(definition)}, kSource);
    const int sid = q.lastInsertId().toInt();
    m_db.run(QStringLiteral("INSERT INTO [Engine Definition] (SID, Format, Template, Method, Params, IndexOffset,"
                            " PageOffset, PageSize, Operators, Mapping, Description, InputEncoding, Source)"
                            " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
             QVariantList{sid} + values(definition), kSource);
    return sid;
}

void CEngineDefinitionTable::update(int sid, const EngineDefinition &definition)
{
    m_db.run(QStringLiteral("UPDATE [Search Engine] SET SName = ?, URL = ? WHERE SID = ?"),
             {definition.name, listedAddress(definition), sid}, kSource);
    m_db.run(QStringLiteral("UPDATE [Engine Definition] SET Format = ?, Template = ?, Method = ?, Params = ?,"
                            " IndexOffset = ?, PageOffset = ?, PageSize = ?, Operators = ?, Mapping = ?,"
                            " Description = ?, InputEncoding = ?, Source = ? WHERE SID = ?"),
             values(definition) + QVariantList{sid}, kSource);
}

void CEngineDefinitionTable::remove(int sid)
{
    m_db.run(QStringLiteral("DELETE FROM [Query Engines] WHERE SID = ?"), {sid}, kSource);
    m_db.run(QStringLiteral("DELETE FROM [Search Engine] WHERE SID = ?"), {sid}, kSource);
}

QList<CEngineDefinitionTable::QueryUse> CEngineDefinitionTable::queriesUsing(int sid)
{
    QSqlQuery &q = m_db.run(
        QStringLiteral("SELECT m.QID, m.QName,"
                       " (SELECT count(*) FROM [Query Engines] o WHERE o.QID = m.QID AND o.SID <> ?)"
                       " FROM [Main Query] m WHERE m.QID IN (SELECT QID FROM [Query Engines] WHERE SID = ?)"
                       " ORDER BY m.QID"),
        {sid, sid}, kSource);
    QList<QueryUse> list;
    while (q.next())
        list.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toInt()});
    q.finish();
    return list;
}
