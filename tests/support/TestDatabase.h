#pragma once

#include <QString>

class QTemporaryDir;

namespace TestDatabase {
// Copies the pre-built tx.mdb into the folder and returns the copy's path.
QString copyPrebuilt(const QTemporaryDir &dir, const QString &fileName = QStringLiteral("tx.mdb"));
} // namespace TestDatabase
