#include "SheetEngines.h"

#include "retrieval/EngineRegistry.h"

namespace SheetEngines {

QList<SheetEngine> all()
{
    QList<SheetEngine> engines;
    for (const EngineRegistry::Descriptor &d : EngineRegistry::instance().queryEngines())
        engines.append({d->name, d->label, d->controlId, d->builtIn, !d->builtIn || d->takes(EngineFeature::OnSheet)});
    return engines;
}

QStringList names()
{
    return EngineRegistry::instance().queryEngineNames();
}

} // namespace SheetEngines
