#pragma once

#include "EngineHit.h"

#include <QByteArrayView>
#include <QString>

// The result-page parsers of the seven engines. A parser works on the raw bytes of the
// answer (headers included, as they arrived), hands every hit to the sink in page order
// and returns the completion's Extra text: Yahoo's next-set path or " ", empty for the
// other engines. The number of hits delivered is the completion's Count.
namespace EngineParsers {

// True for the engine names that have a parser ("HotBotRepeat" parses as "HotBot").
bool hasParser(const QString &engine);

// Parses a complete page of the named engine.
QString parse(const QString &engine, QByteArrayView page, const HitSink &deliver);

} // namespace EngineParsers
