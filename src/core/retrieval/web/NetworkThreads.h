#pragma once

// Qt runs each network manager's HTTP work in a thread of its own that it does not join: the
// manager's end waits only until the thread's loop has stopped. OpenSSL frees what it keeps for
// that thread (its random generators, its error queue) as the thread exits, after that point.
// A process that ends at once can end first, and leak checkers then report it. Called where the
// program ends, after the last network manager is gone, this lets those exits finish.
namespace NetworkThreads {

// Waits until no network manager's thread is left in this process, at most msecs. True when
// none is left (at once if none ever ran, or where the process's threads cannot be listed).
bool WaitForEnd(int msecs = 2000);

} // namespace NetworkThreads
