#pragma once

#include "retrieval/engines/EngineDescriptor.h"

struct EngineDefinition;

// The descriptor of an engine the user added: asked through CTrawlexWebEngineSocket, read
// by its definition's result reader. It takes groups and filters: what the engine itself
// cannot do with them, WebHitFilter does to its hits.
namespace WebEngines {

EngineDescriptor descriptor(const EngineDefinition &definition);

} // namespace WebEngines
