#pragma once

#include "run/IRunRetrieval.h"

#include <QEvent>
#include <QStringList>

#include <memory>
#include <vector>

class QObject;
struct ResultPacket;

// A retrieval without threads: the test itself plays the engines, and every packet it sends
// is taken by the monitor before the call returns. Start only records the pass.
class ScriptedRetrieval final : public IRunRetrieval
{
public:
    ScriptedRetrieval();
    ~ScriptedRetrieval() override;

    void Start(const RetrievalParams &params) override;
    void RequestStop() override { m_bRunning = false; }
    void WaitForFinished() override { m_bRunning = false; }

    void hit(const QString &url, const QString &title = QString());
    // count -1: the engine failed, for reason.
    void end(const QString &engine, int count, const QString &reason = QString());
    void skip(const QString &engine);

    bool running() const { return m_bRunning; }
    int starts() const { return m_nStarts; }
    QStringList engines;
    int maxConns = 0;

private:
    void deliver(QEvent::Type type, std::unique_ptr<ResultPacket> packet);

    QObject *m_pReceiver = nullptr;
    std::vector<std::unique_ptr<ResultPacket>> m_packets;
    bool m_bRunning = false;
    int m_nStarts = 0;
};
