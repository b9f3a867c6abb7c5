#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// The walk that every request builder shares: the words go in up to three runs (plain words,
// then group words, then filter words), each word is rewritten by the engine's rules and
// appended with a "+" after it; the last character is dropped before the suffix.
namespace RequestWords {

enum class Run { Plain, Group, Filter };

struct Runs
{
    bool plainStopsAtParen = true; // run A ends at the first word containing "("
    bool plainStopsAtColon = true; // ... or at the first word containing ":"
    bool hasGroupRun = true;       // run B: words up to the first one containing ":"
    bool hasFilterRun = true;      // run C: the rest
};

// Appends one trimmed word (as rewritten by the engine) to the request.
using WordWriter = std::function<void(QByteArray &out, const QString &word, Run run, qsizetype index)>;

// Walks the words through the runs; returns the words part without the final trimming.
QByteArray walk(const QStringList &words, const Runs &runs, const WordWriter &write);

// Prefix + walked words, minus the last character, + suffix.
QByteArray compose(const QByteArray &prefix, const QStringList &words, const Runs &runs,
                   const WordWriter &write, const QByteArray &suffix);

// The keyword text as it goes on the wire: '"' "%22", apostrophe "%27", comma "%2C".
// Characters that would change the meaning of the request line or the query string ("%", "&",
// "+", "#", "=", blanks and control characters) and non-ASCII characters (as UTF-8) are
// percent-encoded too; everything else, ":" and parentheses included, goes as it is.
QByteArray escape(QStringView text);

// Like escape, with every ":" written "%3A" (filter words).
QByteArray escapeFilter(QStringView text);

// Text for the request line as it stands (its own escapes included), except the bytes that
// would break the line: blanks, control characters and non-ASCII characters (as UTF-8) are
// percent-encoded.
QByteArray escapeRequestLine(QStringView text);

// A group word's marks: a leading "(" appends "%28", a trailing ")" appends "%29"; returns
// the rest of the word.
QString takeGroupMarks(QByteArray &out, const QString &word);

bool isOperator(const QString &word); // "and", "or", "not", exactly

// Writes "and", "or" and "not" as "AND+", "OR+" and "NOT+" (with "AND+" before "NOT" when
// joinNot is set); returns false for any other word.
bool writeCapitalOperator(QByteArray &out, const QString &word, bool joinNot);

// A plain word: escaped, then "+".
void writePlain(QByteArray &out, const QString &word);

// The first character in lower case.
QString lowerFirst(const QString &word);

QByteArray number(int value);

} // namespace RequestWords
