#pragma once

#include <QList>
#include <QString>

// The parts a query is made of: plain values, copied member by member.
// Qualifiers are "include", "exclude" or "optional"; filter types "Title", "URL" or "Link".

struct CTrawlexKeyword
{
    QString m_strKeyword; // the word or phrase
    QString m_strQualifier;
    friend bool operator==(const CTrawlexKeyword &, const CTrawlexKeyword &) = default;
};

struct CTrawlexGroup
{
    QString m_strName;
    QString m_strQualifier;
    QList<CTrawlexKeyword> m_members; // in the order added
    friend bool operator==(const CTrawlexGroup &, const CTrawlexGroup &) = default;
};

struct CTrawlexFilter
{
    QString m_strQualifier;
    QString m_strType;
    QString m_strKeyword;
    friend bool operator==(const CTrawlexFilter &, const CTrawlexFilter &) = default;
};
