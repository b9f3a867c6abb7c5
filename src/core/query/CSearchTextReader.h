#pragma once

#include "CTrawlexQuery.h"

#include <QString>
#include <QStringList>

// Reads what a user types into a search box, in the syntax today's engines share, into the
// query model the sheet fills:
//   word, +word         included keyword        -word          excluded keyword
//   "a phrase"          one keyword of words    -"a phrase"    excluded phrase
//   a OR b, (a OR b)    optional keywords
//   site:host, inurl:w  URL filter              intitle:w      Title filter
//   -site:, -inurl:, -intitle:                  excluded filters
// Nothing is refused: what cannot be read as written is read as plainly as possible, and
// every such reading leaves a note the caller can show.
class CSearchTextReader final
{
public:
    struct Reading
    {
        CTrawlexQuery query; // no name and no engines: the caller decides those
        QStringList notes;
    };

    CSearchTextReader() = delete;

    static Reading Read(const QString &text);

    // The name of the query a text makes: the text with its white space collapsed, cut
    // before the last blank within kMaxNameLength characters and marked "..." when longer.
    static QString QueryName(const QString &text);
    static constexpr int kMaxNameLength = 60;
};
