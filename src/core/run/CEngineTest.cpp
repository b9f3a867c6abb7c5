#include "CEngineTest.h"

#include "query/CTrawlexQuery.h"
#include "retrieval/CResultPacketEvent.h"
#include "retrieval/CRetrievalRun.h"
#include "retrieval/EngineRegistry.h"
#include "retrieval/ResultPacket.h"
#include "retrieval/RetrievalMessages.h"
#include "retrieval/RetrievalParams.h"
#include "app/ThreadHandOver.h"

#include <QEventLoop>

CEngineTest::CEngineTest(QObject *parent)
    : QObject(parent)
    , m_run(std::make_unique<CRetrievalRun>())
{
    connect(m_run.get(), &CRetrievalRun::finished, this, [this] {
        if (m_bDone)
            return;
        m_bDone = true;
        m_outcome.milliseconds = m_clock.elapsed();
        Q_EMIT finished(m_outcome);
    });
}

CEngineTest::~CEngineTest()
{
    // The engines post to this object: they must be gone before it is.
    m_bDone = true;
    m_run->requestStop();
    m_run->waitForFinished();
}

bool CEngineTest::isRunning() const
{
    return !m_bDone;
}

bool CEngineTest::start(const QString &engine, const QStringList &words, const QString &engineAddressList,
                        int maxDelay)
{
    const EngineRegistry::Descriptor d = EngineRegistry::instance().find(engine);
    if (!m_bDone || !d || !d->canBeAsked())
        return false;
    CTrawlexQuery query;
    query.m_strName = QStringLiteral("test");
    for (const QString &w : words.isEmpty() ? QStringList{QStringLiteral("test")} : words)
        query.m_keywords.append({w, QStringLiteral("include")});
    query.m_engines = {d->name};

    auto params = std::make_unique<RetrievalParams>();
    params->engines = query.m_engines;
    params->booleanText = query.GetBooleanText();
    params->query = query;
    params->engineAddressList = engineAddressList;
    params->engineLevels = QStringLiteral(" ");
    params->maxConns = 1;
    params->maxDelay = maxDelay;
    params->receiver = this;

    m_outcome = Outcome{};
    m_outcome.engine = d->name;
    m_bDone = false;
    m_clock.start();
    if (!m_run->start(std::move(params))) {
        m_bDone = true;
        return false;
    }
    return true;
}

void CEngineTest::stop()
{
    if (m_bDone)
        return;
    m_outcome.failed = true;
    m_outcome.reason = QStringLiteral("stopped");
    m_run->requestStop();
}

bool CEngineTest::event(QEvent *e)
{
    ThreadHandOver::received(e);
    if (e->type() != RetrievalMessages::WM_ENGINE_HIT && e->type() != RetrievalMessages::WM_ENGINE_DONE
        && e->type() != RetrievalMessages::WM_ENGINE_SKIPPED)
        return QObject::event(e);
    auto &packetEvent = static_cast<CResultPacketEvent &>(*e);
    if (const ResultPacket *p = packetEvent.packet()) {
        if (e->type() == RetrievalMessages::WM_ENGINE_HIT) {
            m_outcome.hits.append({p->Title, p->URL, p->Summary});
        } else if (p->Count < 0) {
            m_outcome.failed = true;
            m_outcome.reason = p->Reason;
        }
    }
    packetEvent.release();
    return true;
}

CEngineTest::Outcome CEngineTest::waitForOutcome()
{
    if (!m_bDone) {
        QEventLoop loop;
        connect(this, &CEngineTest::finished, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return m_outcome;
}

CEngineTest::Outcome CEngineTest::unknownEngine(const QString &engine)
{
    Outcome outcome;
    outcome.engine = engine;
    outcome.failed = true;
    outcome.reason = QStringLiteral("there is no engine called \"%1\" to ask").arg(engine);
    return outcome;
}
