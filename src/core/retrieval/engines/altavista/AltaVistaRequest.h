#pragma once

#include <QByteArray>
#include <QStringList>

// AltaVista's query syntax: operators as they are, filters lower-cased.
namespace AltaVistaRequest {

QByteArray firstPage(const QStringList &words);
QByteArray nextPage(const QStringList &words, int counter);

} // namespace AltaVistaRequest
