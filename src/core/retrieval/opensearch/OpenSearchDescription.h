#pragma once

#include "OpenSearchUrl.h"

#include <QList>
#include <QString>

#include <optional>

// An OpenSearch 1.1 description document as read (OpenSearchDescriptionReader), or as made
// for a metasearch instance (MetasearchInstance). A plain value: it can be stored, compared
// and copied between threads.
struct OpenSearchDescription
{
    QString shortName;
    QString description;
    QString inputEncoding = QStringLiteral("UTF-8");  // the first one given
    QString outputEncoding = QStringLiteral("UTF-8"); // the first one given
    QString language;                                  // the first one given, or empty
    QList<OpenSearchUrl> urls;                         // in document order

    // The Url whose results Trawlex reads: a results Url of type Atom, RSS or JSON.
    // Atom is preferred because it says whether a title is text or HTML and marks the
    // hit's own link; RSS next, as it carries the same paging elements but leaves markup
    // to guesswork; JSON last, since only the metasearch shape of JSON can be read without
    // a mapping. Among Urls of one format GET comes before POST: a GET search is one
    // address that can be shown, tested and followed through redirects.
    // Without such a Url, empty, and `error` (when given) says what the search offers.
    std::optional<OpenSearchUrl> resultsUrl(QString *error = nullptr) const;

    bool operator==(const OpenSearchDescription &) const = default;
};
