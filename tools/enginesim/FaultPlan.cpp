#include "FaultPlan.h"

#include <QList>
#include <QPair>
#include <QStringList>

#include <algorithm>

namespace {

const QStringList kEngines = {QStringLiteral("altavista"), QStringLiteral("excite"), QStringLiteral("hotbot"),
                              QStringLiteral("hotbotrepeat"), QStringLiteral("infoseek"), QStringLiteral("lycos"),
                              QStringLiteral("magellan"), QStringLiteral("yahoo"), QStringLiteral("atom"),
                              QStringLiteral("rss"), QStringLiteral("json"), QStringLiteral("post"),
                              QStringLiteral("searx"), QStringLiteral("opensearch"), QStringLiteral("all")};

const QList<QPair<QString, FaultPlan::Kind>> kNamedKinds = {
    {QStringLiteral("refuse"), FaultPlan::Kind::Refuse},
    {QStringLiteral("close-early"), FaultPlan::Kind::CloseEarly},
    {QStringLiteral("never"), FaultPlan::Kind::Never},
    {QStringLiteral("garbage"), FaultPlan::Kind::Garbage},
    {QStringLiteral("no-end"), FaultPlan::Kind::NoEnd},
    {QStringLiteral("http403"), FaultPlan::Kind::Http403},
    {QStringLiteral("http429"), FaultPlan::Kind::Http429},
    {QStringLiteral("http500"), FaultPlan::Kind::Http500},
    {QStringLiteral("redirect-loop"), FaultPlan::Kind::RedirectLoop},
    {QStringLiteral("redirect-downgrade"), FaultPlan::Kind::RedirectDowngrade},
    {QStringLiteral("redirect-once"), FaultPlan::Kind::RedirectOnce},
    {QStringLiteral("bad-xml"), FaultPlan::Kind::BadXml},
    {QStringLiteral("bad-json"), FaultPlan::Kind::BadJson},
    {QStringLiteral("oversize"), FaultPlan::Kind::Oversize},
    {QStringLiteral("none"), FaultPlan::Kind::None},
};

} // namespace

bool FaultPlan::add(const QString &option, QString *error)
{
    const qsizetype eq = option.indexOf(u'=');
    const QString engine = option.left(eq).trimmed().toLower();
    QString kind = eq < 0 ? QString() : option.mid(eq + 1).trimmed().toLower();
    if (eq < 0 || !kEngines.contains(engine)) {
        *error = QStringLiteral("--fault wants ENGINE=KIND with ENGINE one of AltaVista, Excite, HotBot, HotBotRepeat, "
                                "InfoSeek, Lycos, Magellan, Yahoo, atom, rss, json, post, searx, opensearch, all; "
                                "got \"%1\"").arg(option);
        return false;
    }
    Fault fault;
    if (kind.startsWith(QLatin1String("trickle"))) {
        fault.kind = Kind::Trickle;
        fault.intervalMs = kDefaultTrickleMs;
        if (kind.size() > 7) {
            bool ok = false;
            fault.intervalMs = kind.mid(8).toInt(&ok);
            if (kind.at(7) != u':' || !ok || fault.intervalMs < 0) {
                *error = QStringLiteral("trickle wants a whole number of milliseconds: \"%1\"").arg(option);
                return false;
            }
        }
    } else {
        const auto named = std::find_if(kNamedKinds.begin(), kNamedKinds.end(),
                                        [&kind](const auto &entry) { return entry.first == kind; });
        if (named == kNamedKinds.end()) {
            *error = QStringLiteral("unknown fault \"%1\"; known: %2").arg(kind, kindNames());
            return false;
        }
        fault.kind = named->second;
    }
    m_faults.insert(engine, fault);
    return true;
}

FaultPlan::Fault FaultPlan::faultFor(const QString &engine) const
{
    const QString key = engine.toLower();
    if (m_faults.contains(key))
        return m_faults.value(key);
    if (key == QLatin1String("hotbotrepeat") && m_faults.contains(QStringLiteral("hotbot")))
        return m_faults.value(QStringLiteral("hotbot"));
    if (key == QLatin1String("opensearch"))
        return {}; // "all" leaves the description documents alone, so a faulty engine can still be added
    return m_faults.value(QStringLiteral("all"));
}

bool FaultPlan::oldEnginesShow(Kind kind)
{
    return kind <= Kind::NoEnd;
}

QString FaultPlan::kindNames()
{
    QStringList names;
    for (const auto &entry : kNamedKinds)
        names.append(entry.first);
    names.insert(3, QStringLiteral("trickle[:MS]"));
    return names.join(QLatin1String(", "));
}
