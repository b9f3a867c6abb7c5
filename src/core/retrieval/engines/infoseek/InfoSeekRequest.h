#pragma once

#include <QByteArray>
#include <QStringList>

// InfoSeek's query syntax: "and" as a leading +, no groups.
namespace InfoSeekRequest {

QByteArray firstPage(const QStringList &words);
QByteArray nextPage(const QStringList &words, int counter);

} // namespace InfoSeekRequest
