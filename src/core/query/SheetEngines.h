#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The engines a query may name, as the sheet's engine page offers them: the built-in ones in
// the page's order (some never shown), then the user's own in the order they were added.
struct SheetEngine
{
    QString name;
    QString label;     // the check box text of a built-in engine
    int controlId = 0; // its check box identifier; 0 for an added engine
    bool builtIn = false;
    bool shown = true; // a built-in engine the page no longer offers is kept, hidden
};

namespace SheetEngines {

QList<SheetEngine> all();
QStringList names();

} // namespace SheetEngines
