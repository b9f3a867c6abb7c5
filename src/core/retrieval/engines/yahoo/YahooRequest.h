#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Yahoo's query syntax: "+" and "-" prefixes, no groups; later pages follow Yahoo's own
// next-set link.
namespace YahooRequest {

QByteArray firstPage(const QStringList &words);
QByteArray nextPage(const QString &yahooPath);

} // namespace YahooRequest
