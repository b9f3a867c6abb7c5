#include "CTrawlexSettings.h"

#include "retrieval/EngineRegistry.h"

#include <QSettings>

#include <limits>

namespace {
const char kConnection[] = "TXconn";
const char kMaxConns[] = "MaxConns";
const char kMaxDelay[] = "MaxDelay";
const char kMaxUrl[] = "MaxURL";
const char kVersionCheck[] = "VersionCheck";
const char kSearchEngines[] = "SearchEngines";
const char kSearchEnginesChosen[] = "SearchEnginesChosen";
const char kWindowGeometry[] = "WindowGeometry";
const char kWindowLayout[] = "WindowLayout";
const char kSplitterState[] = "SplitterState";
const char kTreeView[] = "TreeView";
} // namespace

CTrawlexSettings::CTrawlexSettings()
    : m_settings(std::make_unique<QSettings>(QStringLiteral("Quorvel Software"), QStringLiteral("Trawlex")))
{
    m_settings->beginGroup(groupName());
}

CTrawlexSettings::CTrawlexSettings(const QString &iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{
    m_settings->beginGroup(groupName());
}

CTrawlexSettings::~CTrawlexSettings() = default;

int CTrawlexSettings::readInt(const char *key, int fallback) const
{
    // A value of the wrong kind counts as absent.
    bool ok = false;
    const int value = m_settings->value(QLatin1String(key)).toInt(&ok);
    return ok ? value : fallback;
}

void CTrawlexSettings::load()
{
    DirectConnection = connection() == Connection::Direct;
    MaxConns = readInt(kMaxConns, 4);
    MaxDelay = readInt(kMaxDelay, 60);
    MaxURL = readInt(kMaxUrl, 7);
    SearchEngines = m_settings->value(QLatin1String(kSearchEngines)).toStringList();
    SearchEnginesChosen = m_settings->value(QLatin1String(kSearchEnginesChosen), false).toBool();
}

void CTrawlexSettings::savePreferences()
{
    m_settings->setValue(QLatin1String(kMaxConns), MaxConns);
    m_settings->setValue(QLatin1String(kMaxDelay), MaxDelay);
    m_settings->setValue(QLatin1String(kMaxUrl), MaxURL);
    writeSearchEngines();
}

void CTrawlexSettings::writeSearchEngines()
{
    m_settings->setValue(QLatin1String(kSearchEngines), SearchEngines);
    m_settings->setValue(QLatin1String(kSearchEnginesChosen), SearchEnginesChosen);
    m_settings->sync();
}

QStringList CTrawlexSettings::askableEngines()
{
    QStringList names;
    for (const EngineRegistry::Descriptor &d : EngineRegistry::instance().queryEngines()) {
        // Retired engines have no page to ask; the built-in ones off the sheet are not offered.
        if (d->canBeAsked() && (!d->builtIn || d->takes(EngineFeature::OnSheet)))
            names.append(d->name);
    }
    return names;
}

QStringList CTrawlexSettings::searchFieldEngines() const
{
    const QStringList askable = askableEngines();
    QStringList engines;
    for (const QString &name : askable) {
        if (SearchEngines.contains(name, Qt::CaseSensitive))
            engines.append(name);
    }
    return engines.isEmpty() ? askable : engines;
}

void CTrawlexSettings::rememberRunEngines(const QStringList &engines)
{
    if (SearchEnginesChosen || engines.isEmpty() || engines == SearchEngines)
        return;
    SearchEngines = engines;
    writeSearchEngines();
}

CTrawlexSettings::Connection CTrawlexSettings::connectionFromText(const QString &text)
{
    if (text == QLatin1String("Direct"))
        return Connection::Direct;
    if (text == QLatin1String("Dial"))
        return Connection::Dial;
    return Connection::Unknown;
}

CTrawlexSettings::Connection CTrawlexSettings::connection() const
{
    return connectionFromText(m_settings->value(QLatin1String(kConnection)).toString());
}

void CTrawlexSettings::setConnection(bool direct)
{
    DirectConnection = direct;
    m_settings->setValue(QLatin1String(kConnection), direct ? QStringLiteral("Direct") : QStringLiteral("Dial"));
    m_settings->sync();
}

CTrawlexSettings::VersionCheckStep CTrawlexSettings::nextVersionCheck(int stored)
{
    // A negative counter is a first start: it becomes 0. A counter at the top of the range
    // starts over rather than overflowing.
    const int next = stored < 0 ? 0 : (stored == std::numeric_limits<int>::max() ? 0 : stored + 1);
    return {next, next % 10 == 0 || next == 1};
}

bool CTrawlexSettings::advanceVersionCheck()
{
    const VersionCheckStep step = nextVersionCheck(readInt(kVersionCheck, -1));
    m_settings->setValue(QLatin1String(kVersionCheck), step.counter);
    m_settings->sync();
    return step.ask;
}

CTrawlexSettings::WindowState CTrawlexSettings::windowState() const
{
    WindowState state;
    state.geometry = m_settings->value(QLatin1String(kWindowGeometry)).toByteArray();
    state.layout = m_settings->value(QLatin1String(kWindowLayout)).toByteArray();
    state.splitter = m_settings->value(QLatin1String(kSplitterState)).toByteArray();
    state.treeView = readInt(kTreeView, 0);
    return state;
}

void CTrawlexSettings::saveWindowState(const WindowState &state)
{
    m_settings->setValue(QLatin1String(kWindowGeometry), state.geometry);
    m_settings->setValue(QLatin1String(kWindowLayout), state.layout);
    m_settings->setValue(QLatin1String(kSplitterState), state.splitter);
    m_settings->setValue(QLatin1String(kTreeView), state.treeView);
    m_settings->sync();
}
