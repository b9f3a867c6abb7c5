#pragma once

#include <QByteArray>
#include <QString>

class CTrawlexQuery;

// The one text form of a query (the command line's query files and what `show` prints), one
// JSON object whose keys are all optional:
//   {"name": "...", "keywords": ["include:apple"], "groups": ["include:fruit"],
//    "members": ["fruit:exclude:plum"], "filters": ["URL:exclude:spam"],
//    "engines": ["AltaVista", "Yahoo"]}
// Entries are the property sheet's entry texts and are read by the same reader.
namespace QueryJson {

// Fills query from JSON text. On bad input (malformed JSON, a key or type not listed above,
// an unknown engine, an entry the sheet could not have made) query is left cleared, false
// comes back and error says what is wrong.
bool Parse(const QByteArray &json, CTrawlexQuery &query, QString &error);
// Reads the file ("-" is standard input) and parses it; error names the file.
bool ReadFile(const QString &path, CTrawlexQuery &query, QString &error);
// The query in the same form, on one line, keys in the order shown above (no line end).
// Parse gives back an equal query for any query the sheet could have made.
QByteArray ToJson(const CTrawlexQuery &query);
// A JSON string literal for text (quotes and escapes included).
QByteArray QuoteString(const QString &text);

} // namespace QueryJson
