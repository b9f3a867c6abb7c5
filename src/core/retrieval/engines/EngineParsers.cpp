#include "EngineParsers.h"

#include "retrieval/EngineRegistry.h"

namespace EngineParsers {

bool hasParser(const QString &engine)
{
    const EngineRegistry::Descriptor d = EngineRegistry::instance().find(engine);
    return d && d->readResults;
}

QString parse(const QString &engine, QByteArrayView page, const HitSink &deliver)
{
    const EngineRegistry::Descriptor d = EngineRegistry::instance().find(engine);
    return d && d->readResults ? d->readResults(page, deliver) : QString();
}

} // namespace EngineParsers
