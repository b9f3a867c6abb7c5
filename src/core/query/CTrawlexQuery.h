#pragma once

#include "CTrawlexQueryElements.h"

#include <QList>
#include <QString>
#include <QStringList>

// A query as the user defines it and the program stores, runs and shows it. The boolean text
// is the one form the rest of the program reads. GetBooleanText and GetEngines only read, so
// the retrieval threads may call them while a run holds the query unchanged.
class CTrawlexQuery
{
public:
    void Clear();
    // Index of the first group named exactly name (letter case counts), or -1.
    int FindGroup(const QString &name) const;
    // Replaces out with the engine names in order.
    void GetEngines(QStringList &out) const;
    // Lines end in CR LF; every word is followed by a blank or a line end.
    QString GetBooleanText() const;
    // A colon anywhere in the boolean text (a keyword with a colon counts too).
    bool HasFilters() const;
    // An opening parenthesis anywhere in the boolean text.
    bool HasGroups() const;

    friend bool operator==(const CTrawlexQuery &, const CTrawlexQuery &) = default;

    QString m_strName;
    QList<CTrawlexKeyword> m_keywords;
    QList<CTrawlexGroup> m_groups;
    QList<CTrawlexFilter> m_filters;
    QStringList m_engines;
};

// "include" -> "and", "exclude" -> "not", "optional" -> "or", anything else -> "error".
QString QualifierToOperator(const QString &qualifier);
