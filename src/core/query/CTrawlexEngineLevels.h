#pragma once

#include <QString>
#include <QStringList>

// How far each engine of a query has got: the stored page counters, and which engines ended
// the pass now running, how.
struct CTrawlexEngineLevels
{
    // The stored form: "#AltaVista#@2@#Yahoo#@1@", " " once a pass counted nothing.
    QString text;
    QStringList reported; // every engine that ended this pass
    QStringList failed;
    QStringList exhausted; // ended this pass with their last page

    // Counts one more page for every engine that reported this pass without failure.
    void Update();
};

// The page counter of engine in a stored levels text; 0 when it has no item.
int GetPageCounter(const QString &engine, const QString &engineLevels);
