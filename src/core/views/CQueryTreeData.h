#pragma once

#include <QDate>
#include <QList>
#include <QString>

class CTrawlexDatabase;

// What the query tree lists in each arrangement, read from the database: the top level of an
// arrangement, and the children of a group when it is expanded. An arrangement is named by its
// View menu command (ID_VIEW_NAME, ID_VIEW_SITE, ID_VIEW_KEYWORD, ID_VIEW_TIME). Every failure
// throws CDaoException.
class CQueryTreeData final
{
public:
    struct Entry
    {
        QString text;
        int qid = -1; // -1 for a group (site, keyword, month or day)
        friend bool operator==(const Entry &, const Entry &) = default;
    };

    explicit CQueryTreeData(CTrawlexDatabase &db);

    // Name: every query, by name. Site: every host of a stored address once, in the order of
    // its first address. Keyword: every plain keyword once, lower case. Time: every month
    // with a query once ("month/year"), oldest first.
    QList<Entry> TopLevel(int nView);
    // Site and keyword: the queries holding it, by name. Time: the days of a month key
    // ("month/day/year") oldest first, or the queries of a day key by name. Name: nothing.
    QList<Entry> Children(int nView, const QString &key);

    static QString HostOf(const QString &address);
    static QString MonthKey(const QDate &day);
    static QString DayKey(const QDate &day);

private:
    CTrawlexDatabase &m_db;
};
