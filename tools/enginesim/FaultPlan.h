#pragma once

#include <QHash>
#include <QString>

// Which engines misbehave, and how (--fault ENGINE=KIND).
class FaultPlan final
{
public:
    enum class Kind {
        None, Refuse, CloseEarly, Never, Trickle, Garbage, NoEnd,
        // Only today's forms answer with these; the seven ignore them.
        Http403, Http429, Http500, RedirectLoop, RedirectDowngrade, RedirectOnce, BadXml, BadJson, Oversize
    };
    struct Fault
    {
        Kind kind = Kind::None;
        int intervalMs = 0; // trickle: time between two bytes
    };

    static constexpr int kDefaultTrickleMs = 100;

    // Reads "ENGINE=KIND" or "ENGINE=trickle:MS"; ENGINE is an engine name
    // (any letter case), "HotBotRepeat", one of today's forms ("atom", "rss",
    // "json", "post", "searx", "opensearch" for the description documents) or
    // "all" (every engine and form but the description documents). Returns false with a message.
    bool add(const QString &option, QString *error);

    // The fault for an engine name; "HotBotRepeat" falls back to "HotBot", then "all".
    Fault faultFor(const QString &engine) const;

    static QString kindNames();
    // Whether the seven engines' pages can show this fault.
    static bool oldEnginesShow(Kind kind);

private:
    QHash<QString, Fault> m_faults; // keyed by lower-case engine name
};
