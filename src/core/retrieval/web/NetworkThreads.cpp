#include "NetworkThreads.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

namespace {

// Qt names the manager's thread "QNetworkAccessManager thread"; the system keeps 15 bytes of it.
constexpr char kThreadName[] = "QNetworkAccessM";

bool networkThreadLeft()
{
    const QDir tasks(QStringLiteral("/proc/self/task"));
    const QStringList ids = tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &id : ids) {
        QFile comm(tasks.filePath(id + QStringLiteral("/comm")));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == kThreadName)
            return true;
    }
    return false;
}

} // namespace

bool NetworkThreads::WaitForEnd(int msecs)
{
    const QDeadlineTimer deadline(msecs);
    while (networkThreadLeft()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
    return true;
}
