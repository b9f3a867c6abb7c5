#pragma once

#include "engines/EngineDescriptor.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>

// Every engine the program knows, each as one descriptor: the built-in ones, always there,
// and the ones added at run time. Names are looked up exactly (letter case counts).
// Thread-safe: lookups hand out shared descriptors that stay valid while a run uses them.
class EngineRegistry final
{
public:
    using Descriptor = std::shared_ptr<const EngineDescriptor>;

    // The program's registry.
    static EngineRegistry &instance();

    EngineRegistry();

    Descriptor find(const QString &name) const;
    Descriptor findByIdentifier(int identifier) const;
    bool contains(const QString &name) const { return find(name) != nullptr; }
    // 0 for a name the registry does not hold.
    int identifierOf(const QString &name) const;
    // Empty for an identifier the registry does not hold.
    QString nameOf(int identifier) const;

    // The engines a query may name, in the engine page's order: the built-in page's engines
    // (shown or not), then the added ones in the order they were added.
    QStringList queryEngineNames() const;
    // The same order, as descriptors.
    QList<Descriptor> queryEngines() const;

    // Adds an engine under a fresh identifier. Refused (false) when its name is empty or
    // taken, ignoring letter case; the descriptor's own identifier is replaced.
    bool add(EngineDescriptor descriptor);
    // Removes an added engine; built-in engines stay.
    bool remove(const QString &name);

    // The first identifier handed to added engines; the built-in ones lie below it.
    static constexpr int kFirstAddedIdentifier = 13;

private:
    Descriptor findLocked(const QString &name) const;

    mutable std::mutex m_mutex;
    QList<Descriptor> m_engines; // built-in first, then added ones
    int m_nextIdentifier = kFirstAddedIdentifier;
};
