#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <utility>

class CRetrievalRun;
class LoopbackPacketReceiver;
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

// A loopback port with nothing listening on it.
quint16 closedPort();

} // namespace LoopbackRun
