#include "HitOriginText.h"

namespace HitOriginText {

QString OriginText(const QStringList &engines)
{
    QStringList names;
    names.reserve(engines.size());
    for (const QString &engine : engines) {
        const QString name = engine.simplified();
        if (!name.isEmpty() && !names.contains(name, Qt::CaseInsensitive))
            names << name;
    }
    if (names.isEmpty())
        return QString();
    return QStringLiteral("From ") + names.join(QStringLiteral(", "));
}

} // namespace HitOriginText
