#include "ProgramThreads.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

namespace {

// The system keeps 15 bytes of a thread's name.
const QByteArray kOwnPrefix = QByteArrayLiteral("Trawlex ");
// Qt names the manager's thread "QNetworkAccessManager thread".
const QByteArray kNetworkThread = QByteArrayLiteral("QNetworkAccessM");

bool threadLeft()
{
    const QDir tasks(QStringLiteral("/proc/self/task"));
    const QStringList ids = tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &id : ids) {
        QFile comm(tasks.filePath(id + QStringLiteral("/comm")));
        if (!comm.open(QIODevice::ReadOnly))
            continue;
        const QByteArray name = comm.readAll().trimmed();
        if (name.startsWith(kOwnPrefix) || name == kNetworkThread)
            return true;
    }
    return false;
}

} // namespace

void ProgramThreads::Name(QThread &thread, const QString &role)
{
    thread.setObjectName(QString::fromLatin1(kOwnPrefix) + role);
}

bool ProgramThreads::WaitForEnd(int msecs)
{
    const QDeadlineTimer deadline(msecs);
    while (threadLeft()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
    return true;
}
