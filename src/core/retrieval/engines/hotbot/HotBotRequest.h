#pragma once

#include <QByteArray>
#include <QStringList>

// HotBot's query syntax: operators in capitals, its own filter names.
namespace HotBotRequest {

QByteArray firstPage(const QStringList &words);
QByteArray nextPage(const QStringList &words, int counter);

} // namespace HotBotRequest
