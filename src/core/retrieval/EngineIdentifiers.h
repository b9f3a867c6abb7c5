#pragma once

#include <QString>

// Each engine's identifier: its time-limit timer on the engine thread and the identifier a
// failed connection posts. 1 is the run monitor's own run timer.
namespace EngineIdentifiers {

// 2 "AltaVista" ... 12 "Yahoo"; 0 for a name without an identifier (exact, case-sensitive).
int identifierOf(const QString &engine);
// The name belonging to an identifier; empty for an unknown one.
QString nameOf(int identifier);

} // namespace EngineIdentifiers
