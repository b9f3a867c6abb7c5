#include "TestDatabase.h"
#include "TestPaths.h"

#include <QFile>
#include <QTemporaryDir>

namespace TestDatabase {

QString copyPrebuilt(const QTemporaryDir &dir, const QString &fileName)
{
    const QString target = dir.filePath(fileName);
    QFile::remove(target);
    if (!QFile::copy(TestPaths::prebuiltDatabase(), target))
        return {};
    // The copy keeps the build's read-only bits otherwise.
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    return target;
}

} // namespace TestDatabase
