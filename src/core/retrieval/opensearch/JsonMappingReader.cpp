#include "JsonMappingReader.h"

#include "FeedDelivery.h"
#include "HitAddress.h"
#include "MarkupText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace {

QString textOf(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', 15);
    return {};
}

} // namespace

JsonMappingReader::JsonMappingReader(JsonMapping mapping) : m_mapping(std::move(mapping)) {}

FeedPage JsonMappingReader::read(QByteArrayView body, const QUrl &pageAddress, const HitSink &deliver) const
{
    FeedPage page;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromRawData(body.data(), body.size()), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        page.error = QStringLiteral("The answer is not valid JSON (at byte %1: %2).")
                         .arg(parseError.offset)
                         .arg(parseError.errorString());
        return page;
    }
    const QJsonValue root = document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
    if (!m_mapping.totalResultsPath.isEmpty()) {
        const QJsonValue total = JsonMapping::valueAt(root, m_mapping.totalResultsPath);
        const double value = total.toDouble(-1);
        if (total.isDouble() && std::isfinite(value) && value >= 0 && value < 9e18)
            page.totalResults = qint64(value);
    }
    const QJsonValue results = JsonMapping::valueAt(root, m_mapping.resultsPath);
    if (!results.isArray()) {
        page.error = m_mapping.resultsPath.isEmpty()
            ? QStringLiteral("The answer is not a list of results.")
            : QStringLiteral("The answer has no list of results at \"%1\".").arg(m_mapping.resultsPath);
        return page;
    }
    const QJsonArray array = results.toArray();
    for (const QJsonValue &result : array) {
        const QString address = HitAddress::resolve(textOf(JsonMapping::valueAt(result, m_mapping.addressPath)), pageAddress);
        FeedDelivery::offer(page, deliver, MarkupText::fromHtml(textOf(JsonMapping::valueAt(result, m_mapping.titlePath))),
                            address, MarkupText::fromHtml(textOf(JsonMapping::valueAt(result, m_mapping.summaryPath))));
    }
    return page;
}
