#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The engines' request builders: the engine-specific tail of the request line that follows
// "GET /" and the path of the engine's address. The words are the split boolean text.
namespace EngineRequests {

// True for the engine names that have a builder.
bool hasBuilder(const QString &engine);

// First result page of an engine the query has not asked before (page counter 0).
QByteArray firstPageQuery(const QString &engine, const QStringList &words);

// A later page: counter is the engine's page counter (1 or more); Yahoo ignores the words
// and continues from its stored next-set path.
QByteArray nextPageQuery(const QString &engine, const QStringList &words, int counter,
                         const QString &yahooPath);

} // namespace EngineRequests
