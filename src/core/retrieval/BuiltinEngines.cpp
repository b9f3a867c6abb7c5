#include "BuiltinEngines.h"

#include "CTrawlexEngineSocket.h"
#include "TrawlexIds.h"
#include "engines/PageDecoding.h"
#include "engines/altavista/AltaVistaParser.h"
#include "engines/altavista/AltaVistaRequest.h"
#include "engines/excite/ExciteParser.h"
#include "engines/excite/ExciteRequest.h"
#include "engines/hotbot/HotBotParser.h"
#include "engines/hotbot/HotBotRequest.h"
#include "engines/infoseek/InfoSeekParser.h"
#include "engines/infoseek/InfoSeekRequest.h"
#include "engines/lycos/LycosParser.h"
#include "engines/lycos/LycosRequest.h"
#include "engines/magellan/MagellanParser.h"
#include "engines/magellan/MagellanRequest.h"
#include "engines/yahoo/YahooParser.h"
#include "engines/yahoo/YahooRequest.h"
#include "sockets/CTrawlexHotBotSocket.h"
#include "sockets/CTrawlexPageSocket.h"
#include "sockets/CTrawlexYahooSocket.h"

namespace BuiltinEngines {

namespace {

using namespace TrawlexIds;
using F = EngineFeature;
using PageParser = void (*)(QByteArrayView, const PageDecoding &, const HitSink &);
using CounterBuilder = QByteArray (*)(const QStringList &, int);

template<class Socket>
CTrawlexEngineSocket *makeSocket(EngineJob *job, CTrawlexAsyncSocketThread *thread)
{
    return new Socket(job, thread);
}

EngineDescriptor::ResultReader reader(PageParser parse)
{
    return [parse](QByteArrayView page, const HitSink &deliver) {
        parse(page, PageDecoding(page), deliver);
        return QString();
    };
}

EngineDescriptor::NextPageBuilder byCounter(CounterBuilder next)
{
    return [next](const QStringList &words, int counter, const QString &) { return next(words, counter); };
}

EngineDescriptor engine(const char *name, const char *label, int identifier, int controlId, EngineFeatures features)
{
    EngineDescriptor d;
    d.name = QLatin1String(name);
    d.label = QString::fromUtf8(label);
    d.identifier = identifier;
    d.controlId = controlId;
    d.features = features;
    d.builtIn = true;
    return d;
}

// The features match the filters / groups flags of the pre-built [Search Engine] rows.
EngineDescriptor pageEngine(const char *name, const char *label, int identifier, int controlId,
                            EngineFeatures features, EngineDescriptor::FirstPageBuilder first,
                            EngineDescriptor::NextPageBuilder next, EngineDescriptor::ResultReader read,
                            EngineDescriptor::SocketFactory socket)
{
    EngineDescriptor d = engine(name, label, identifier, controlId, features | F::OnSheet);
    d.firstPage = std::move(first);
    d.nextPage = std::move(next);
    d.readResults = std::move(read);
    d.createSocket = socket;
    return d;
}

EngineDescriptor retired(const char *name, const char *label, int identifier, int controlId)
{
    EngineDescriptor d = engine(name, label, identifier, controlId, {});
    d.kind = EngineKind::Retired;
    return d;
}

} // namespace

QList<EngineDescriptor> all()
{
    const EngineDescriptor::ResultReader hotBotPage = reader(HotBotParser::parse);
    EngineDescriptor hotBotRepeat = engine("HotBotRepeat", "", 5, 0, F::Groups | F::Filters);
    // Its request is the redirect's own; the answer is a HotBot page like any other.
    hotBotRepeat.kind = EngineKind::Redirected;
    hotBotRepeat.readResults = hotBotPage;
    hotBotRepeat.createSocket = makeSocket<CTrawlexHotBotSocket>;

    return {
        pageEngine("AltaVista", "&AltaVista", 2, IDC_WHERE_ALTAVISTA, F::Groups | F::Filters,
                   AltaVistaRequest::firstPage, byCounter(AltaVistaRequest::nextPage),
                   reader(AltaVistaParser::parse), makeSocket<CTrawlexPageSocket>),
        pageEngine("Excite", "&Excite", 3, IDC_WHERE_EXCITE, F::Groups, ExciteRequest::firstPage,
                   byCounter(ExciteRequest::nextPage), reader(ExciteParser::parse),
                   makeSocket<CTrawlexPageSocket>),
        pageEngine("HotBot", "&HotBot", 4, IDC_WHERE_HOTBOT, F::Groups | F::Filters, HotBotRequest::firstPage,
                   byCounter(HotBotRequest::nextPage), hotBotPage, makeSocket<CTrawlexHotBotSocket>),
        hotBotRepeat,
        pageEngine("InfoSeek", "&Infoseek", 6, IDC_WHERE_INFOSEEK, F::Filters, InfoSeekRequest::firstPage,
                   byCounter(InfoSeekRequest::nextPage), reader(InfoSeekParser::parse),
                   makeSocket<CTrawlexPageSocket>),
        pageEngine("Lycos", "&Lycos", 7, IDC_WHERE_LYCOS, F::Groups, LycosRequest::firstPage,
                   byCounter(LycosRequest::nextPage), reader(LycosParser::parse), makeSocket<CTrawlexPageSocket>),
        pageEngine("Magellan", "&Magellan", 8, IDC_WHERE_MAGELLAN, F::Groups, MagellanRequest::firstPage,
                   byCounter(MagellanRequest::nextPage), reader(MagellanParser::parse),
                   makeSocket<CTrawlexPageSocket>),
        retired("OpenText", "&Open Text Index", 9, IDC_WHERE_OPENTEXT),
        retired("WebCrawler", "&WebCrawler", 10, IDC_WHERE_WEBCRAWLER),
        retired("Worm", "W&orld Wide Web Worm", 11, IDC_WHERE_WORM),
        pageEngine(
            "Yahoo", "&Yahoo!", 12, IDC_WHERE_YAHOO, F::Filters | F::ContinuationPath, YahooRequest::firstPage,
            [](const QStringList &, int, const QString &path) { return YahooRequest::nextPage(path); },
            [](QByteArrayView page, const HitSink &deliver) {
                return YahooParser::parse(page, PageDecoding(page), deliver);
            },
            makeSocket<CTrawlexYahooSocket>),
    };
}

} // namespace BuiltinEngines
