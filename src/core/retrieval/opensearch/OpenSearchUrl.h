#pragma once

#include "FeedFormat.h"

#include <QList>
#include <QString>

#include <optional>

// One Url element of an OpenSearch description: where and how the search is asked for
// one kind of answer. The template is kept as written (made absolute when the description
// gave it relative to its own address); OpenSearchTemplate fills it in.
struct OpenSearchUrl
{
    // A Param (or parameter-extension Parameter) child: a name and a value template.
    struct Param
    {
        QString name;
        QString value;
        bool operator==(const Param &) const = default;
    };

    QString type;         // media type of the answer, as written
    QString templateText; // absolute http or https template with {parameters}
    QString method = QStringLiteral("GET"); // "GET" or "POST" (upper case)
    QString rel = QStringLiteral("results"); // space-separated roles
    qint64 indexOffset = 1;
    qint64 pageOffset = 1;
    QList<Param> params;

    // True when `role` is one of the space-separated rel values (ignoring case).
    bool hasRel(QStringView role) const;
    // The format of the answer this Url gives, when Trawlex reads it.
    std::optional<FeedFormat> format() const;
    bool isPost() const { return method == u"POST"; }

    bool operator==(const OpenSearchUrl &) const = default;
};
