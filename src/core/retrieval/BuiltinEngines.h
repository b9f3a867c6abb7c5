#pragma once

#include "engines/EngineDescriptor.h"

#include <QList>

// The engines the program has always known: the seven that are asked, HotBot's repeated
// request, and the three whose pages are gone. In the engine page's order, HotBotRepeat
// after HotBot.
namespace BuiltinEngines {

QList<EngineDescriptor> all();

} // namespace BuiltinEngines
