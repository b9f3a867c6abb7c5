#pragma once

#include <QString>
#include <QStringList>

// One hit of a results set, as found, shown and stored.
struct CTrawlexHit
{
    QString title;
    QString url;
    QString summary;
    bool isNew = false; // found by the update that is running or was stored last
    QStringList engines; // the engines that returned it, first finder first
};
