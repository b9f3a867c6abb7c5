#include "LoopbackRun.h"

#include "LoopbackPacketReceiver.h"
#include "ManualClock.h"
#include "retrieval/CRetrievalRun.h"
#include "retrieval/RetrievalParams.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

namespace LoopbackRun {

QString addressList(const QList<std::pair<QString, QByteArray>> &entries)
{
    QString list;
    for (const auto &[name, address] : entries)
        list += u'|' + name + u'|' + QString::fromLatin1(address) + u'|';
    return list;
}

std::unique_ptr<RetrievalParams> params(const QStringList &engines, const QString &addressList,
                                        LoopbackPacketReceiver *receiver, int maxConns, int maxDelay,
                                        const QString &booleanText)
{
    auto p = std::make_unique<RetrievalParams>();
    p->engines = engines;
    p->engineAddressList = addressList;
    p->booleanText = booleanText;
    p->maxConns = maxConns;
    p->maxDelay = maxDelay;
    p->receiver = receiver;
    return p;
}

qint64 runToEnd(CRetrievalRun &run, std::unique_ptr<RetrievalParams> params, int safetyMs)
{
    QElapsedTimer clock;
    clock.start();
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, &run, &CRetrievalRun::requestStop);
    safety.start(safetyMs);
    if (!run.start(std::move(params)))
        return -1;
    run.waitForFinished();
    return clock.elapsed();
}

bool runOnClock(CRetrievalRun &run, std::unique_ptr<RetrievalParams> params, ManualClock &clock,
                std::chrono::milliseconds by, const std::function<bool()> &ready)
{
    params->clock = &clock;
    if (!run.start(std::move(params)))
        return false;
    // A limit armed after the clock moved on would not see the time go by.
    bool ok = QTest::qWaitFor([&] { return ready() && clock.activeTimers() > 0; }, 20000);
    if (ok) {
        clock.advance(by);
        ok = QTest::qWaitFor([&] { return run.isFinished(); }, 20000);
    }
    if (!ok)
        run.requestStop();
    run.waitForFinished();
    return ok;
}

quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

} // namespace LoopbackRun
