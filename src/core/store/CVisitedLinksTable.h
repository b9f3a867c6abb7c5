#pragma once

#include <QDate>
#include <QList>
#include <QString>

class CTrawlexDatabase;

// Statements on [Query Results Date]: the addresses the user has opened and when.
// Addresses compare without regard to letter case, as the original's did.
class CVisitedLinksTable final
{
public:
    struct Visit
    {
        QString url;
        QString dayText; // the visit day as eight digits, month, day, year ("mmddyyyy")
        QDate day;
    };

    explicit CVisitedLinksTable(CTrawlexDatabase &db);

    int countVisits(const QString &url);
    // Sets the visit time of the address's rows to now.
    void updateVisit(const QString &url);
    void insertVisit(const QString &url);
    // Every row in the order stored.
    QList<Visit> visits();
    void deleteVisit(const QString &url);

    // Count, then update or insert: one row per address.
    void recordVisit(const QString &url);

private:
    CTrawlexDatabase &m_db;
};
