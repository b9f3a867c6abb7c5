#include "JsonMapping.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

JsonMapping JsonMapping::metasearch()
{
    return JsonMapping{QStringLiteral("results"), QStringLiteral("title"), QStringLiteral("url"),
                       QStringLiteral("content"), QStringLiteral("number_of_results")};
}

QJsonValue JsonMapping::valueAt(const QJsonValue &root, QStringView path)
{
    QJsonValue value = root;
    if (path.isEmpty())
        return value;
    for (QStringView part : path.split(u'.')) {
        if (value.isObject()) {
            value = value.toObject().value(part);
        } else if (value.isArray()) {
            bool ok = false;
            const qsizetype index = part.toLongLong(&ok);
            const QJsonArray array = value.toArray();
            if (!ok || index < 0 || index >= array.size())
                return QJsonValue(QJsonValue::Undefined);
            value = array.at(index);
        } else {
            return QJsonValue(QJsonValue::Undefined);
        }
    }
    return value;
}

QByteArray JsonMapping::toJson() const
{
    QJsonObject object{{QStringLiteral("results"), resultsPath},
                       {QStringLiteral("title"), titlePath},
                       {QStringLiteral("address"), addressPath},
                       {QStringLiteral("summary"), summaryPath}};
    if (!totalResultsPath.isEmpty())
        object.insert(QStringLiteral("total"), totalResultsPath);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<JsonMapping> JsonMapping::fromJson(QByteArrayView json, QString *error)
{
    auto refuse = [error](const QString &why) -> std::optional<JsonMapping> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return refuse(QStringLiteral("A JSON mapping must be a JSON object."));
    const QJsonObject object = document.object();
    for (const QString &key : object.keys())
        if (!object.value(key).isString())
            return refuse(QStringLiteral("The JSON mapping's \"%1\" must be a text.").arg(key));
    JsonMapping mapping{object.value(QLatin1StringView("results")).toString(), object.value(QLatin1StringView("title")).toString(),
                        object.value(QLatin1StringView("address")).toString(), object.value(QLatin1StringView("summary")).toString(),
                        object.value(QLatin1StringView("total")).toString()};
    if (mapping.addressPath.isEmpty())
        return refuse(QStringLiteral("The JSON mapping does not say which field gives the address."));
    if (error)
        error->clear();
    return mapping;
}
