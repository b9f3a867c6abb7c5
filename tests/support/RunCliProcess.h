#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QTemporaryDir;

// One trawlex-cli invocation of a run test: settings kept in the test's own folder, so the
// user's connection type and limits never reach the test.
struct RunCliResult
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    qint64 elapsedMs = 0;

    QList<QByteArray> outLines() const;
    // The hit lines after the completion message.
    QList<QByteArray> hitLines() const;
};

namespace RunCliProcess {

// Runs trawlex-cli with args in dir (HOME and XDG_CONFIG_HOME point into dir).
RunCliResult run(const QTemporaryDir &dir, const QStringList &args, int timeoutMs = 60000);
// Writes text to a file in dir and returns its path.
QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &text);

} // namespace RunCliProcess
