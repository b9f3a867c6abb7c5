#pragma once

#include "retrieval/ResultPacketRef.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>

#include <vector>

// Stands in for the run monitor in retrieval tests: records every packet it is posted, in
// order, and releases it at once, or holds the packets until told to release them.
class LoopbackPacketReceiver final : public QObject
{
    Q_OBJECT

public:
    enum class Kind { Hit, Done, EmptyDone, Skipped };
    struct Record
    {
        Kind kind;
        QString engine;
        int count = 0;
        QString title;
        QString url;
        QString summary;
        QString extra;
        QString reason; // why a failed engine ended
        qint64 atMs = 0;
    };

    explicit LoopbackPacketReceiver(QObject *parent = nullptr);
    ~LoopbackPacketReceiver() override;

    // While holding, packets are recorded but kept, so their engines stay blocked.
    void setHolding(bool holding) { m_bHolding = holding; }
    void releaseHeld();
    int heldCount() const { return int(m_held.size()); }

    const QList<Record> &records() const { return m_records; }
    QList<Record> hits() const;
    QList<Record> completions() const; // Done records with a packet
    const Record *completionOf(const QString &engine) const;
    int packetCount() const { return m_nPackets; }

protected:
    bool event(QEvent *e) override;

private:
    QList<Record> m_records;
    std::vector<ResultPacketRef> m_held;
    QElapsedTimer m_clock;
    bool m_bHolding = false;
    int m_nPackets = 0;
};
