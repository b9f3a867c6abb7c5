#pragma once

#include <QDateTime>
#include <QString>

// A stored query as the tree lists it: its name and QID.
struct StoredQueryRef
{
    QString name;
    int qid = -1;
    friend bool operator==(const StoredQueryRef &, const StoredQueryRef &) = default;
};

// A stored query with the time its row was inserted; dateText is month/day/year with a
// four-digit year, then a blank and the time unless it is exactly midnight.
struct StoredQueryDate
{
    QString name;
    int qid = -1;
    QString dateText;
    QDateTime retrieved;
};
