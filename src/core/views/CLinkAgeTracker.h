#pragma once

#include "app/CSystemClock.h"

#include <QDate>
#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>

class CTrawlexDatabase;

// Remembers which addresses the user opened with "Browse" and forgets each visit MaxURL days
// after the start of the day it happened. One row per address in [Query Results Date];
// addresses compare without regard to letter case in the table, exactly in the visited set.
class CLinkAgeTracker final
{
public:
    // clock: where now is read for the ages, by default the system's.
    CLinkAgeTracker(CTrawlexDatabase &db, int maxUrlDays, const IClock &clock = CSystemClock::instance());

    // Stores now as the visit time of address (a second visit renews the first one's row).
    void RecordLinkVisit(const QString &address);

    // Deletes every expired visit and returns the addresses still marked.
    QSet<QString> LoadVisitedLinks();
    // The same expiry, but only the members of candidates are looked up: a results page needs
    // at most ten answers, and reading every stored visit would cost a scan per page build.
    QSet<QString> LoadVisitedLinks(const QStringList &candidates);

    // A visit on visitDay has expired when the day's local midnight plus maxUrlDays x 86400
    // seconds lies before now.
    static bool IsExpired(const QDate &visitDay, int maxUrlDays, const QDateTime &now);
    // The first visit day that has not expired at now.
    static QDate FirstKeptDay(int maxUrlDays, const QDateTime &now);

private:
    void DeleteExpired();

    CTrawlexDatabase &m_db;
    int m_nMaxUrlDays;
    const IClock &m_clock;
};
