#pragma once

#include <QString>

// What the query tree keeps per item: the arrangement that made it, its key (a query's name,
// or a host, keyword, month or day) and the query's QID, -1 for a group.
struct QueryTreeItem
{
    int nView = 0;
    QString strText;
    int nQID = -1;
};
