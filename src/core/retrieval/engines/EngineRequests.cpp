#include "EngineRequests.h"

#include "altavista/AltaVistaRequest.h"
#include "excite/ExciteRequest.h"
#include "hotbot/HotBotRequest.h"
#include "infoseek/InfoSeekRequest.h"
#include "lycos/LycosRequest.h"
#include "magellan/MagellanRequest.h"
#include "yahoo/YahooRequest.h"

namespace EngineRequests {

namespace {

struct Builders
{
    const char *name;
    QByteArray (*first)(const QStringList &);
    QByteArray (*next)(const QStringList &, int);
};

QByteArray yahooNextUnused(const QStringList &, int)
{
    return {};
}

constexpr Builders kBuilders[] = {
    {"AltaVista", AltaVistaRequest::firstPage, AltaVistaRequest::nextPage},
    {"Excite", ExciteRequest::firstPage, ExciteRequest::nextPage},
    {"HotBot", HotBotRequest::firstPage, HotBotRequest::nextPage},
    {"InfoSeek", InfoSeekRequest::firstPage, InfoSeekRequest::nextPage},
    {"Lycos", LycosRequest::firstPage, LycosRequest::nextPage},
    {"Magellan", MagellanRequest::firstPage, MagellanRequest::nextPage},
    {"Yahoo", YahooRequest::firstPage, yahooNextUnused},
};

const Builders *find(const QString &engine)
{
    for (const Builders &b : kBuilders) {
        if (engine == QLatin1String(b.name))
            return &b;
    }
    return nullptr;
}

} // namespace

bool hasBuilder(const QString &engine)
{
    return find(engine) != nullptr;
}

QByteArray firstPageQuery(const QString &engine, const QStringList &words)
{
    const Builders *b = find(engine);
    return b ? b->first(words) : QByteArray();
}

QByteArray nextPageQuery(const QString &engine, const QStringList &words, int counter,
                         const QString &yahooPath)
{
    if (engine == QLatin1String("Yahoo"))
        return YahooRequest::nextPage(yahooPath);
    const Builders *b = find(engine);
    return b ? b->next(words, counter) : QByteArray();
}

} // namespace EngineRequests
