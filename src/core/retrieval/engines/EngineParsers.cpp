#include "EngineParsers.h"

#include "PageDecoding.h"
#include "altavista/AltaVistaParser.h"
#include "excite/ExciteParser.h"
#include "hotbot/HotBotParser.h"
#include "infoseek/InfoSeekParser.h"
#include "lycos/LycosParser.h"
#include "magellan/MagellanParser.h"
#include "yahoo/YahooParser.h"

namespace EngineParsers {

namespace {

using Parser = void (*)(QByteArrayView, const PageDecoding &, const HitSink &);

struct Entry
{
    const char *name;
    Parser parse;
};

// A HotBot answer that came by the redirect is a HotBot page like any other.
constexpr Entry kParsers[] = {
    {"AltaVista", AltaVistaParser::parse}, {"Excite", ExciteParser::parse},
    {"HotBot", HotBotParser::parse},       {"HotBotRepeat", HotBotParser::parse},
    {"InfoSeek", InfoSeekParser::parse},   {"Lycos", LycosParser::parse},
    {"Magellan", MagellanParser::parse},
};

const Entry *find(const QString &engine)
{
    for (const Entry &e : kParsers) {
        if (engine == QLatin1String(e.name))
            return &e;
    }
    return nullptr;
}

} // namespace

bool hasParser(const QString &engine)
{
    return engine == QLatin1String("Yahoo") || find(engine) != nullptr;
}

QString parse(const QString &engine, QByteArrayView page, const HitSink &deliver)
{
    const PageDecoding decoding(page);
    if (engine == QLatin1String("Yahoo"))
        return YahooParser::parse(page, decoding, deliver);
    if (const Entry *e = find(engine))
        e->parse(page, decoding, deliver);
    return QString();
}

} // namespace EngineParsers
