#include "FaultPlan.h"

#include <QStringList>

namespace {

const QStringList kEngines = {QStringLiteral("altavista"), QStringLiteral("excite"), QStringLiteral("hotbot"),
                              QStringLiteral("hotbotrepeat"), QStringLiteral("infoseek"), QStringLiteral("lycos"),
                              QStringLiteral("magellan"), QStringLiteral("yahoo"), QStringLiteral("all")};

} // namespace

bool FaultPlan::add(const QString &option, QString *error)
{
    const qsizetype eq = option.indexOf(u'=');
    const QString engine = option.left(eq).trimmed().toLower();
    QString kind = eq < 0 ? QString() : option.mid(eq + 1).trimmed().toLower();
    if (eq < 0 || !kEngines.contains(engine)) {
        *error = QStringLiteral("--fault wants ENGINE=KIND with ENGINE one of AltaVista, Excite, HotBot, HotBotRepeat, "
                                "InfoSeek, Lycos, Magellan, Yahoo, all; got \"%1\"").arg(option);
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
    } else if (kind == QLatin1String("refuse")) {
        fault.kind = Kind::Refuse;
    } else if (kind == QLatin1String("close-early")) {
        fault.kind = Kind::CloseEarly;
    } else if (kind == QLatin1String("never")) {
        fault.kind = Kind::Never;
    } else if (kind == QLatin1String("garbage")) {
        fault.kind = Kind::Garbage;
    } else if (kind == QLatin1String("no-end")) {
        fault.kind = Kind::NoEnd;
    } else if (kind == QLatin1String("none")) {
        fault.kind = Kind::None;
    } else {
        *error = QStringLiteral("unknown fault \"%1\"; known: %2").arg(kind, kindNames());
        return false;
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
    return m_faults.value(QStringLiteral("all"));
}

QString FaultPlan::kindNames()
{
    return QStringLiteral("refuse, close-early, never, trickle[:MS], garbage, no-end, none");
}
