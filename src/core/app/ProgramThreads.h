#pragma once

#include <QString>

class QThread;

// Qt starts its threads detached: QThread::wait() returns once the thread's work is over, but
// the thread still has to exit, and OpenSSL frees what it keeps for a thread (its random
// generators, its error queue) only then. That holds for the program's own threads and for
// the one each network manager runs its HTTP work in. A process that ends at once can end
// first, and leak checkers then report that state. Where the program ends, after its runs and
// network managers are gone, WaitForEnd lets those exits finish.
namespace ProgramThreads {

// Gives one of the program's own threads its name (before it starts), by which the system
// lists it and WaitForEnd knows it.
void Name(QThread &thread, const QString &role);

// Waits until none of the program's own threads and no network manager's thread is left in
// this process, at most msecs. Other threads (Qt's own that live as long as the process) are
// not waited for. True when none is left, at once when none ran or where the process's threads
// cannot be listed.
bool WaitForEnd(int msecs = 2000);

} // namespace ProgramThreads
