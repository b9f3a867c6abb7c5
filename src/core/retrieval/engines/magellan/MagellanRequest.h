#pragma once

#include <QByteArray>
#include <QStringList>

// Magellan's query syntax: as Excite's, paged by its start offset.
namespace MagellanRequest {

QByteArray firstPage(const QStringList &words);
QByteArray nextPage(const QStringList &words, int counter);

} // namespace MagellanRequest
