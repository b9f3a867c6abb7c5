#pragma once

#include <QString>
#include <QStringList>

// Splits a query's boolean text into the words the request builders read. Blanks, carriage
// returns and line feeds end a word; a last word with no such character after it is dropped
// (the boolean text always ends with one). A query that is a single filter ("and" followed by
// one word with ":") loses the leading "and".
QStringList SplitQueryWords(const QString &booleanText);
