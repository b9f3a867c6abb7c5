#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One page of the simulated web, with the words the engines match against,
// split once when the corpus is built.
struct SimDocument
{
    QString title;
    QString url;
    QString summary;
    QString category; // directory path, "Recreation: Outdoors: Fishing"
    QStringList links; // addresses this page links to

    QString host;          // lower case, from url
    QString lowerUrl;
    QStringList titleWords; // lower case
    QStringList summaryWords;
    QList<int> titleIds; // the same words as numbers (Corpus::wordId), for fast matching
    QList<int> summaryIds;
    QStringList lowerLinks;
    QStringList linkHosts;
};
