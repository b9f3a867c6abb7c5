#include "EngineRequests.h"

#include "retrieval/EngineRegistry.h"

namespace EngineRequests {

bool hasBuilder(const QString &engine)
{
    const EngineRegistry::Descriptor d = EngineRegistry::instance().find(engine);
    return d && d->firstPage;
}

QByteArray firstPageQuery(const QString &engine, const QStringList &words)
{
    const EngineRegistry::Descriptor d = EngineRegistry::instance().find(engine);
    return d && d->firstPage ? d->firstPage(words) : QByteArray();
}

QByteArray nextPageQuery(const QString &engine, const QStringList &words, int counter,
                         const QString &yahooPath)
{
    const EngineRegistry::Descriptor d = EngineRegistry::instance().find(engine);
    return d && d->nextPage ? d->nextPage(words, counter, yahooPath) : QByteArray();
}

} // namespace EngineRequests
