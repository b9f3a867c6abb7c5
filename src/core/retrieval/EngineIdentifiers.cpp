#include "EngineIdentifiers.h"

#include <array>
#include <utility>

namespace {
constexpr std::array<std::pair<int, const char *>, 11> kEngines{{
    {2, "AltaVista"},
    {3, "Excite"},
    {4, "HotBot"},
    {5, "HotBotRepeat"},
    {6, "InfoSeek"},
    {7, "Lycos"},
    {8, "Magellan"},
    {9, "OpenText"},
    {10, "WebCrawler"},
    {11, "Worm"},
    {12, "Yahoo"},
}};
} // namespace

namespace EngineIdentifiers {

int identifierOf(const QString &engine)
{
    for (const auto &[id, name] : kEngines) {
        if (engine == QLatin1String(name))
            return id;
    }
    return 0;
}

QString nameOf(int identifier)
{
    for (const auto &[id, name] : kEngines) {
        if (id == identifier)
            return QString::fromLatin1(name);
    }
    return {};
}

} // namespace EngineIdentifiers
