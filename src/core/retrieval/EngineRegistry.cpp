#include "EngineRegistry.h"

#include "BuiltinEngines.h"

EngineRegistry &EngineRegistry::instance()
{
    static EngineRegistry registry;
    return registry;
}

EngineRegistry::EngineRegistry()
{
    for (EngineDescriptor &d : BuiltinEngines::all())
        m_engines.append(std::make_shared<const EngineDescriptor>(std::move(d)));
}

EngineRegistry::Descriptor EngineRegistry::findLocked(const QString &name) const
{
    for (const Descriptor &d : m_engines) {
        if (d->name == name)
            return d;
    }
    return nullptr;
}

EngineRegistry::Descriptor EngineRegistry::find(const QString &name) const
{
    std::lock_guard lock(m_mutex);
    return findLocked(name);
}

EngineRegistry::Descriptor EngineRegistry::findByIdentifier(int identifier) const
{
    std::lock_guard lock(m_mutex);
    for (const Descriptor &d : m_engines) {
        if (d->identifier == identifier)
            return d;
    }
    return nullptr;
}

int EngineRegistry::identifierOf(const QString &name) const
{
    const Descriptor d = find(name);
    return d ? d->identifier : 0;
}

QString EngineRegistry::nameOf(int identifier) const
{
    const Descriptor d = findByIdentifier(identifier);
    return d ? d->name : QString();
}

QList<EngineRegistry::Descriptor> EngineRegistry::queryEngines() const
{
    std::lock_guard lock(m_mutex);
    QList<Descriptor> list;
    for (const Descriptor &d : m_engines) {
        // A redirect's repeated request is part of its engine, never chosen on its own.
        if (d->kind != EngineKind::Redirected)
            list.append(d);
    }
    return list;
}

QStringList EngineRegistry::queryEngineNames() const
{
    QStringList names;
    for (const Descriptor &d : queryEngines())
        names.append(d->name);
    return names;
}

bool EngineRegistry::add(EngineDescriptor descriptor)
{
    std::lock_guard lock(m_mutex);
    if (descriptor.name.isEmpty())
        return false;
    // Unique ignoring case: a name that differs from another only in letter case would be
    // the same engine to the user and to the database's NOCASE names.
    for (const Descriptor &d : m_engines) {
        if (d->name.compare(descriptor.name, Qt::CaseInsensitive) == 0)
            return false;
    }
    descriptor.identifier = m_nextIdentifier++;
    m_engines.append(std::make_shared<const EngineDescriptor>(std::move(descriptor)));
    return true;
}

bool EngineRegistry::remove(const QString &name)
{
    std::lock_guard lock(m_mutex);
    for (qsizetype i = 0; i < m_engines.size(); ++i) {
        const EngineDescriptor &d = *m_engines.at(i);
        if (d.name == name && !d.builtIn) {
            m_engines.removeAt(i);
            return true;
        }
    }
    return false;
}
