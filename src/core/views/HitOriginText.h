#pragma once

#include <QString>
#include <QStringList>

// The line under a hit that says which engines returned it.
namespace HitOriginText {

// "From AltaVista, HotBot": the names in the order given (the first finder first), blank and
// repeated names left out. No names give empty text, and the view then shows no line.
QString OriginText(const QStringList &engines);

} // namespace HitOriginText
