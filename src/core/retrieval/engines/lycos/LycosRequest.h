#pragma once

#include <QByteArray>
#include <QStringList>

// Lycos' query syntax: operators in capitals, no filters.
namespace LycosRequest {

QByteArray firstPage(const QStringList &words);
QByteArray nextPage(const QStringList &words, int counter);

} // namespace LycosRequest
