#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <utility>

class CRetrievalRun;
class LoopbackPacketReceiver;
class ManualClock;
struct RetrievalParams;

// Helpers for running the retrieval against loopback servers in tests.
namespace LoopbackRun {

// "|name|address|" for each (name, "host:port/path") pair.
QString addressList(const QList<std::pair<QString, QByteArray>> &entries);

// Parameters for a run of the engines against the receiver; max delay in seconds.
std::unique_ptr<RetrievalParams> params(const QStringList &engines, const QString &addressList,
                                        LoopbackPacketReceiver *receiver, int maxConns = 4,
                                        int maxDelay = 5, const QString &booleanText = QStringLiteral("cats "));

// Starts the run and waits for it (a stop after safetyMs keeps a broken run from hanging the
// test); returns the milliseconds it took.
qint64 runToEnd(CRetrievalRun &run, std::unique_ptr<RetrievalParams> params, int safetyMs = 20000);

// Starts the run with its engines' time limits on clock; once ready() holds and an engine has
// armed its limit, moves the clock on by `by` and waits for the run. False when the run did
// not start, ready() never held or the run did not end (within 20 s each; it is stopped then).
bool runOnClock(CRetrievalRun &run, std::unique_ptr<RetrievalParams> params, ManualClock &clock,
                std::chrono::milliseconds by, const std::function<bool()> &ready = [] { return true; });

// A loopback port with nothing listening on it.
quint16 closedPort();

} // namespace LoopbackRun
