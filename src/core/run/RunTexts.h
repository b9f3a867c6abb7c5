#pragma once

#include <QString>
#include <QStringList>

// The texts a run shows and the figures behind them, kept apart from the monitor so that the
// window and the command line word them identically.
namespace RunTexts {

QString initializing();            // "Initializing"
QString ready();                   // "Ready"
QString progress(int percent);     // "Progress %d%%"
QString timedOut();                // "Error!  Query has timed out!  Try again."

// "Lycos", "Lycos and Yahoo", "Excite, Lycos and Yahoo"
QString joinEngineNames(const QStringList &names);
// "Query Retrieval completed!" or "Query Retrieval completed!  %s timed out."
QString completed(const QStringList &failedEngines);

// Hits of this pass against ten per engine. page is the results view's page index (0 in a
// new run); in a run for more results the hits already shown on the partial last page count
// too. Capped at 100 because duplicates are counted as received.
int progressPercent(int hitsReceived, int page, int savedCount, int engineCount);

} // namespace RunTexts
