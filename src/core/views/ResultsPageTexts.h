#pragma once

#include <QString>
#include <QStringList>

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

// The line above the hits: "Hits 11–20 of 57 from 9 engines", then "; failed: " and the
// engines that failed. firstHit counts from 0; a page of no hits says so.
QString RunSummaryText(int firstHit, int shownCount, int totalHits, int engineCount,
                       const QStringList &failedEngines);

// True when every word of filter (blanks between) is in the title, the address or the
// summary, letter case aside. An empty filter lets every hit through.
bool HitMatchesFilter(const QString &title, const QString &address, const QString &summary,
                      const QString &filter);
// Stands for the hits when the filter lets none of the page through.
QString FilterNoMatchText();

// What "Copy title and address" puts on the clipboard: the title, a line break, the address.
QString TitleAndAddressText(const QString &title, const QString &address);

} // namespace ResultsPageTexts
