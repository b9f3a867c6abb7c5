#pragma once

#include <QString>

// The texts of a results page, shortened so one hit keeps to its rows.
namespace ResultsPageTexts {

inline constexpr int kMaxTitleLength = 42;
inline constexpr int kMaxAddressLength = 72;

// "Page %d  " and a line break on later pages, then "Query:  " and the boolean text on one
// line (carriage returns become blanks, line feeds go).
QString HeaderText(int page, const QString &booleanText);
// At most 42 characters and "...", with "**" in front of a hit an update added.
QString TitleText(const QString &title, bool isNew);
// At most 72 characters and "...".
QString AddressText(const QString &address);
// The message that stands instead of "More".
QString MessageText(bool pastEnd, int page);

} // namespace ResultsPageTexts
