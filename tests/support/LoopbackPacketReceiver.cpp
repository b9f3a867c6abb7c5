#include "LoopbackPacketReceiver.h"

#include "app/ThreadHandOver.h"
#include "retrieval/CResultPacketEvent.h"
#include "retrieval/ResultPacket.h"
#include "retrieval/RetrievalMessages.h"

LoopbackPacketReceiver::LoopbackPacketReceiver(QObject *parent)
    : QObject(parent)
{
    m_clock.start();
}

LoopbackPacketReceiver::~LoopbackPacketReceiver() = default;

void LoopbackPacketReceiver::releaseHeld()
{
    m_bHolding = false;
    std::vector<ResultPacketRef> held;
    held.swap(m_held);
    // Destroying the holds releases them.
}

QList<LoopbackPacketReceiver::Record> LoopbackPacketReceiver::hits() const
{
    QList<Record> found;
    for (const Record &r : m_records) {
        if (r.kind == Kind::Hit)
            found.append(r);
    }
    return found;
}

QList<LoopbackPacketReceiver::Record> LoopbackPacketReceiver::completions() const
{
    QList<Record> found;
    for (const Record &r : m_records) {
        if (r.kind == Kind::Done)
            found.append(r);
    }
    return found;
}

const LoopbackPacketReceiver::Record *LoopbackPacketReceiver::completionOf(const QString &engine) const
{
    for (const Record &r : m_records) {
        if (r.kind == Kind::Done && r.engine == engine)
            return &r;
    }
    return nullptr;
}

bool LoopbackPacketReceiver::event(QEvent *e)
{
    ThreadHandOver::received(e);
    using namespace RetrievalMessages;
    const QEvent::Type type = e->type();
    if (type != WM_ENGINE_HIT && type != WM_ENGINE_DONE && type != WM_ENGINE_SKIPPED)
        return QObject::event(e);

    auto *pe = static_cast<CResultPacketEvent *>(e);
    Record r;
    r.atMs = m_clock.elapsed();
    const ResultPacket *p = pe->packet();
    if (!p) {
        r.kind = Kind::EmptyDone;
    } else {
        ++m_nPackets;
        r.kind = type == WM_ENGINE_HIT ? Kind::Hit : type == WM_ENGINE_DONE ? Kind::Done : Kind::Skipped;
        r.engine = p->Engine;
        r.count = p->Count;
        r.title = p->Title;
        r.url = p->URL;
        r.summary = p->Summary;
        r.extra = p->Extra;
        r.reason = p->Reason;
    }
    m_records.append(r);
    if (m_bHolding && p)
        m_held.push_back(pe->takePacket());
    else
        pe->release();
    return true;
}
