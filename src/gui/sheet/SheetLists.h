#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QListWidget;

// The sorted list and combo boxes of the query pages: kept in case-insensitive order, and
// searched for an exact text without regard to case, as the pages' duplicate tests require.
namespace SheetLists {

int findExact(const QListWidget *list, const QString &text);
int findExact(const QComboBox *combo, const QString &text);
// Inserts at its sorted place and returns the row.
int insertSorted(QListWidget *list, const QString &text);
int insertSorted(QComboBox *combo, const QString &text);

// The first "owner:qualifier:keyword" entry (filter, member) of owner and keyword, or -1.
qsizetype indexOfEntry(const QStringList &entries, const QString &owner, const QString &keyword);
// Adds the keywords of owner's entries to list.
void listKeywordsOf(QListWidget *list, const QStringList &entries, const QString &owner);
// Takes row out of list without signalling a selection change; returns its text.
QString takeRow(QListWidget *list, int row);

// An entry part beyond CQuerySheetEntries' own: what stands between the first and the last
// colon ("fruit:optional:pear" gives "optional").
QString betweenColons(const QString &entry);

// "include" 0, "exclude" 1, anything else 2.
int qualifierIndex(const QString &qualifier);
// Index 0, 1, 2 to "include", "exclude", "optional".
QString qualifierName(int index);

} // namespace SheetLists
