#pragma once

#include "../RequestWords.h"

#include <QByteArray>
#include <QStringList>

// Excite's query syntax: operators in capitals, no filters. Magellan (the same company's
// engine) takes the same words.
namespace ExciteRequest {

QByteArray firstPage(const QStringList &words);
QByteArray nextPage(const QStringList &words, int counter);

// Writes one word by Excite's rules; Magellan uses it too.
void writeWord(QByteArray &out, const QString &word, RequestWords::Run run, qsizetype index);

} // namespace ExciteRequest
