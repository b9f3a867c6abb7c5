#include "QueryJson.h"

#include "CQuerySheetEntries.h"
#include "CTrawlexQuery.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace {

const QStringList &qualifiers()
{
    static const QStringList list{QStringLiteral("include"), QStringLiteral("exclude"), QStringLiteral("optional")};
    return list;
}

const QStringList &filterTypes()
{
    static const QStringList list{QStringLiteral("Title"), QStringLiteral("URL"), QStringLiteral("Link")};
    return list;
}

const QStringList &listKeys()
{
    static const QStringList keys{QStringLiteral("keywords"), QStringLiteral("groups"), QStringLiteral("members"),
                                  QStringLiteral("filters"), QStringLiteral("engines")};
    return keys;
}

// The strings of an array value; false when it is not an array of strings.
bool readStrings(const QJsonObject &object, const QString &key, QStringList &out, QString &error)
{
    out.clear();
    if (!object.contains(key))
        return true;
    const QJsonValue value = object.value(key);
    if (!value.isArray()) {
        error = QStringLiteral("\"%1\" must be an array of strings").arg(key);
        return false;
    }
    const QJsonArray array = value.toArray();
    for (qsizetype i = 0; i < array.size(); ++i) {
        if (!array.at(i).isString()) {
            error = QStringLiteral("\"%1\"[%2] must be a string").arg(key).arg(i);
            return false;
        }
        out.append(array.at(i).toString());
    }
    return true;
}

QString quoted(const QString &text)
{
    return QString::fromUtf8(QueryJson::QuoteString(text));
}

// Entries the property sheet could not have made would be dropped or composed as "error"
// without a word: say so instead.
bool checkEntries(const CQuerySheetEntries &e, QString &error)
{
    using S = CQuerySheetEntries;
    for (const QString &entry : e.m_keywordEntries) {
        if (!qualifiers().contains(S::BeforeFirstColon(entry))) {
            error = QStringLiteral("keyword entry %1 must read include:, exclude: or optional: and the keyword")
                        .arg(quoted(entry));
            return false;
        }
    }
    QStringList groupNames;
    for (const QString &entry : e.m_groupEntries) {
        if (!qualifiers().contains(S::BeforeFirstColon(entry))) {
            error = QStringLiteral("group entry %1 must read include:, exclude: or optional: and the group name")
                        .arg(quoted(entry));
            return false;
        }
        groupNames.append(S::AfterFirstColon(entry));
    }
    for (const QString &entry : e.m_memberEntries) {
        const QString group = S::BeforeFirstColon(entry);
        if (!entry.contains(QLatin1Char(':')) || !groupNames.contains(group)) {
            error = QStringLiteral("member entry %1 names no group of \"groups\" before its first colon")
                        .arg(quoted(entry));
            return false;
        }
        if (!qualifiers().contains(S::BeforeFirstColon(S::AfterFirstColon(entry)))) {
            error = QStringLiteral("member entry %1 must read group:qualifier:keyword "
                                   "(qualifier include, exclude or optional)")
                        .arg(quoted(entry));
            return false;
        }
    }
    for (const QString &entry : e.m_filterEntries) {
        if (entry.count(QLatin1Char(':')) < 2 || !filterTypes().contains(S::BeforeFirstColon(entry))
            || !qualifiers().contains(S::SecondField(entry))) {
            error = QStringLiteral("filter entry %1 must read type:qualifier:keyword "
                                   "(type Title, URL or Link; qualifier include, exclude or optional)")
                        .arg(quoted(entry));
            return false;
        }
    }
    for (const QString &engine : e.m_engines) {
        if (!S::IsEngineName(engine)) {
            error = QStringLiteral("unknown engine %1; engines are %2")
                        .arg(quoted(engine), S::EngineOrder().join(QLatin1String(", ")));
            return false;
        }
    }
    return true;
}

QByteArray arrayText(const QStringList &list)
{
    return QJsonDocument(QJsonArray::fromStringList(list)).toJson(QJsonDocument::Compact);
}

} // namespace

namespace QueryJson {

QByteArray QuoteString(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2); // without the array's brackets
}

bool Parse(const QByteArray &json, CTrawlexQuery &query, QString &error)
{
    query.Clear();
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = QStringLiteral("malformed JSON at offset %1: %2").arg(parseError.offset).arg(parseError.errorString());
        return false;
    }
    if (!document.isObject()) {
        error = QStringLiteral("the query must be a JSON object");
        return false;
    }
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it.key() != QLatin1String("name") && !listKeys().contains(it.key())) {
            error = QStringLiteral("unknown key %1; keys are \"name\", \"%2\"")
                        .arg(quoted(it.key()), listKeys().join(QLatin1String("\", \"")));
            return false;
        }
    }

    CQuerySheetEntries entries;
    if (object.contains(QLatin1String("name"))) {
        const QJsonValue name = object.value(QLatin1String("name"));
        if (!name.isString()) {
            error = QStringLiteral("\"name\" must be a string");
            return false;
        }
        entries.m_strName = name.toString();
    }
    if (!readStrings(object, QStringLiteral("keywords"), entries.m_keywordEntries, error)
        || !readStrings(object, QStringLiteral("groups"), entries.m_groupEntries, error)
        || !readStrings(object, QStringLiteral("members"), entries.m_memberEntries, error)
        || !readStrings(object, QStringLiteral("filters"), entries.m_filterEntries, error)
        || !readStrings(object, QStringLiteral("engines"), entries.m_engines, error))
        return false;
    // The sheet never holds empty entries; the reader skips them as it skips the sheet's.
    for (QStringList *list : {&entries.m_keywordEntries, &entries.m_groupEntries, &entries.m_memberEntries,
                              &entries.m_filterEntries})
        list->removeAll(QString());
    if (!checkEntries(entries, error))
        return false;
    entries.FillQuery(query);
    return true;
}

bool ReadFile(const QString &path, CTrawlexQuery &query, QString &error)
{
    QFile file;
    const bool opened = path == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                   : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) {
        query.Clear();
        error = QStringLiteral("%1: cannot read: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray json = file.readAll();
    if (!Parse(json, query, error)) {
        error = path + QLatin1String(": ") + error;
        return false;
    }
    return true;
}

QByteArray ToJson(const CTrawlexQuery &query)
{
    const CQuerySheetEntries e = CQuerySheetEntries::FromQuery(query);
    QByteArray out;
    out += "{\"name\":" + QuoteString(e.m_strName);
    out += ",\"keywords\":" + arrayText(e.m_keywordEntries);
    out += ",\"groups\":" + arrayText(e.m_groupEntries);
    out += ",\"members\":" + arrayText(e.m_memberEntries);
    out += ",\"filters\":" + arrayText(e.m_filterEntries);
    out += ",\"engines\":" + arrayText(e.m_engines);
    out += '}';
    return out;
}

} // namespace QueryJson
