#include "WebEngines.h"

#include "CTrawlexWebEngineSocket.h"
#include "EngineDefinition.h"

namespace WebEngines {

namespace {

CTrawlexEngineSocket *makeSocket(EngineJob *job, CTrawlexAsyncSocketThread *thread)
{
    return new CTrawlexWebEngineSocket(job, thread);
}

} // namespace

EngineDescriptor descriptor(const EngineDefinition &definition)
{
    EngineDescriptor d;
    d.name = definition.name;
    d.label = definition.name;
    d.kind = EngineKind::Web;
    d.features = EngineFeature::Groups | EngineFeature::Filters | EngineFeature::OnSheet;
    auto shared = std::make_shared<const EngineDefinition>(definition);
    d.definition = shared;
    // A saved answer read as the engine's own (trawlex-cli parse): only the body, no base.
    d.readResults = [shared](QByteArrayView page, const HitSink &deliver) {
        shared->read(page, QUrl(), deliver);
        return QString();
    };
    d.createSocket = makeSocket;
    return d;
}

} // namespace WebEngines
