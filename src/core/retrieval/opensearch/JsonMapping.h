#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QJsonValue>
#include <QString>
#include <QStringView>

#include <optional>

// Where the hits are in the JSON answer of an API that has no standard shape: the path of
// the results array and, inside each result, the fields for title, address and summary.
// Paths are dotted ("data.items", "snippet.text"); a part that is a number indexes an
// array ("items.0.link"); an empty results path means the answer itself is the array.
// A key that itself contains a dot cannot be named.
struct JsonMapping
{
    QString resultsPath;
    QString titlePath;
    QString addressPath;
    QString summaryPath;
    QString totalResultsPath; // optional: a number giving the total number of results

    // The metasearch instances' shape: results[].title, .url, .content, number_of_results.
    static JsonMapping metasearch();

    // The value at a dotted path below `root`, or Undefined.
    static QJsonValue valueAt(const QJsonValue &root, QStringView path);

    // As stored with an engine definition: a JSON object with the keys "results",
    // "title", "address", "summary" and "total".
    QByteArray toJson() const;
    // Empty, with `error`, for text that is not such an object or lacks the address path.
    static std::optional<JsonMapping> fromJson(QByteArrayView json, QString *error = nullptr);

    bool operator==(const JsonMapping &) const = default;
};
