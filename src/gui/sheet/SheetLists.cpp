#include "sheet/SheetLists.h"

#include "query/CQuerySheetEntries.h"

#include <QComboBox>
#include <QListWidget>

namespace SheetLists {

namespace {
bool sortsBefore(const QString &a, const QString &b)
{
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}
} // namespace

int findExact(const QListWidget *list, const QString &text)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text().compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int findExact(const QComboBox *combo, const QString &text)
{
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int insertSorted(QListWidget *list, const QString &text)
{
    int row = 0;
    while (row < list->count() && !sortsBefore(text, list->item(row)->text()))
        ++row;
    list->insertItem(row, text);
    return row;
}

int insertSorted(QComboBox *combo, const QString &text)
{
    int row = 0;
    while (row < combo->count() && !sortsBefore(text, combo->itemText(row)))
        ++row;
    combo->insertItem(row, text);
    return row;
}

qsizetype indexOfEntry(const QStringList &entries, const QString &owner, const QString &keyword)
{
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString &entry = entries.at(i);
        if (CQuerySheetEntries::BeforeFirstColon(entry) == owner && CQuerySheetEntries::AfterLastColon(entry) == keyword)
            return i;
    }
    return -1;
}

void listKeywordsOf(QListWidget *list, const QStringList &entries, const QString &owner)
{
    for (const QString &entry : entries) {
        if (CQuerySheetEntries::BeforeFirstColon(entry) == owner)
            insertSorted(list, CQuerySheetEntries::AfterLastColon(entry));
    }
}

QString takeRow(QListWidget *list, int row)
{
    const QSignalBlocker block(list);
    const QString text = list->item(row)->text();
    delete list->takeItem(row);
    list->setCurrentRow(-1);
    return text;
}

QString betweenColons(const QString &entry)
{
    const qsizetype first = entry.indexOf(QLatin1Char(':'));
    const qsizetype last = entry.lastIndexOf(QLatin1Char(':'));
    if (first < 0 || last <= first)
        return QString();
    return entry.mid(first + 1, last - first - 1);
}

int qualifierIndex(const QString &qualifier)
{
    if (qualifier == QLatin1String("include"))
        return 0;
    if (qualifier == QLatin1String("exclude"))
        return 1;
    return 2;
}

QString qualifierName(int index)
{
    switch (index) {
    case 0: return QStringLiteral("include");
    case 1: return QStringLiteral("exclude");
    default: return QStringLiteral("optional");
    }
}

} // namespace SheetLists
