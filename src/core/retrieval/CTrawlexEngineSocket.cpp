#include "CTrawlexEngineSocket.h"

#include "CResultPacketEvent.h"
#include "CTrawlexAsyncSocketThread.h"
#include "CTrawlexAsyncSocketThreadMainWindow.h"
#include "EngineAddress.h"
#include "EngineRegistry.h"
#include "EngineJob.h"
#include "HttpRequestText.h"
#include "SocketReadChunk.h"
#include "QueryWords.h"
#include "ResultPacket.h"
#include "RetrievalMessages.h"
#include "RetrievalParams.h"
#include "engines/EngineParsers.h"
#include "engines/EngineRequests.h"
#include "query/CTrawlexQueryResults.h"

#include <QCoreApplication>
#include <QTcpSocket>
#include <QTimerEvent>

#include <memory>

namespace {

bool isRedirect(const QByteArray &upper)
{
    return upper.contains("HTTP/1.1 302 MOVED TEMPORARILY") || upper.contains("HTTP/1.0 302 MOVED");
}

} // namespace

CTrawlexEngineSocket::CTrawlexEngineSocket(EngineJob *job, CTrawlexAsyncSocketThread *thread)
    : m_pJob(job)
    , m_pThread(thread)
{
}

CTrawlexEngineSocket::~CTrawlexEngineSocket()
{
    if (m_pSocket)
        m_pSocket->abort();
}

const QString &CTrawlexEngineSocket::jobName() const
{
    return m_pJob->name;
}

void CTrawlexEngineSocket::Start()
{
    m_pSocket = new QTcpSocket(this);
    connect(m_pSocket, &QTcpSocket::connected, this, &CTrawlexEngineSocket::OnConnect);
    connect(m_pSocket, &QTcpSocket::readyRead, this, &CTrawlexEngineSocket::OnReceive);
    connect(m_pSocket, &QTcpSocket::errorOccurred, this, &CTrawlexEngineSocket::OnError);

    const RetrievalParams *params = m_pJob->params;
    if (jobName() != QLatin1String("HotBotRepeat")) {
        m_words = SplitQueryWords(params->booleanText);
        if (GetPageCounter(jobName(), params->engineLevels) == 0)
            BuildFirstPageQuery();
        else
            BuildNextPageQuery();
    }

    const EngineAddress address = EngineAddress::fromAddressList(params->engineAddressList, jobName());
    if (!address.isValid()) {
        // No host or no path to ask: nothing can be sent.
        PostFailure(QStringLiteral("no usable address (host, then \"/\" and a path)"));
        return;
    }
    m_path = address.path().toUtf8();
    m_pSocket->connectToHost(address.host(), address.port());
}

void CTrawlexEngineSocket::BuildFirstPageQueryFor(const QString &engine)
{
    m_strQuery = EngineRequests::firstPageQuery(engine, m_words);
}

void CTrawlexEngineSocket::BuildNextPageQueryFor(const QString &engine)
{
    const RetrievalParams *params = m_pJob->params;
    m_strQuery = EngineRequests::nextPageQuery(engine, m_words, GetPageCounter(engine, params->engineLevels),
                                               params->yahooPath);
}

void CTrawlexEngineSocket::OnConnect()
{
    m_bConnected = true;
    const QByteArray request = jobName() == QLatin1String("HotBotRepeat")
        ? m_pThread->Redirect()
        : HttpRequestText::build(m_path, m_strQuery);
    if (request.isEmpty() || m_pSocket->write(request) != request.size())
        PostFailure(QStringLiteral("the request could not be sent"));
}

void CTrawlexEngineSocket::OnError(QAbstractSocket::SocketError)
{
    // Refused, unknown host and the like end the engine at once. Once connected, a closed or
    // broken connection is left to the time limit: the page may still be complete in what
    // has already arrived only if its last read said so.
    if (!m_bConnected)
        PostFailure(m_pSocket->errorString());
}

void CTrawlexEngineSocket::OnReceive()
{
    if (m_bFailed || m_pThread->IsEnding())
        return;
    bool bReadAny = false;
    for (;;) {
        const QByteArray chunk = m_pSocket->read(kSocketReadChunk);
        if (chunk.isEmpty())
            break;
        bReadAny = true;
        if (m_strPage.size() + chunk.size() > kMaxPageBytes) {
            PostFailure();
            return;
        }
        m_strPage.append(chunk);
        if (IsPageComplete(chunk)) {
            m_pThread->EndEngine();
            return;
        }
    }
    if (bReadAny)
        OnReadWithoutEnd();
}

bool CTrawlexEngineSocket::IsPageComplete(QByteArrayView chunk)
{
    const QByteArray upper = chunk.toByteArray().toUpper();
    if (!upper.contains("</HTML>") || isRedirect(upper))
        return false;
    // A redirect whose body comes in a later read than its status line is still no page.
    if (isRedirect(m_strPage.left(64).toUpper()))
        return false;
    if (m_nHits == 0)
        ParseResults();
    return true;
}

void CTrawlexEngineSocket::ParseResultsAs(const QString &engine)
{
    // One completion per engine: a time limit or failure that already ended it wins.
    if (!m_pThread->BeginEnd())
        return;
    const QString extra = EngineParsers::parse(engine, m_strPage, [&](EngineHit &&hit) { PostHit(engine, std::move(hit)); });
    auto done = std::make_unique<ResultPacket>();
    done->Engine = engine;
    done->Count = m_nHits;
    done->Extra = extra;
    CResultPacketEvent::postAndWait(m_pJob->params->receiver, RetrievalMessages::WM_ENGINE_DONE, done.get());
    m_pThread->EndEngine();
}

void CTrawlexEngineSocket::PostHit(const QString &engine, EngineHit &&hit)
{
    auto packet = std::make_unique<ResultPacket>();
    packet->Engine = engine;
    packet->Title = std::move(hit.title);
    packet->URL = std::move(hit.url);
    packet->Summary = std::move(hit.summary);
    CResultPacketEvent::postAndWait(m_pJob->params->receiver, RetrievalMessages::WM_ENGINE_HIT, packet.get());
    ++m_nHits;
}

bool CTrawlexEngineSocket::PostCompletion(const QString &engine, const QString &extra, bool exhausted)
{
    if (!m_pThread->BeginEnd())
        return false;
    auto done = std::make_unique<ResultPacket>();
    done->Engine = engine;
    done->Count = m_nHits;
    done->Extra = extra;
    done->Exhausted = exhausted;
    CResultPacketEvent::postAndWait(m_pJob->params->receiver, RetrievalMessages::WM_ENGINE_DONE, done.get());
    m_pThread->EndEngine();
    return true;
}

void CTrawlexEngineSocket::PostFailure(const QString &reason)
{
    if (m_bFailed)
        return;
    m_bFailed = true;
    m_pThread->SetFailureReason(reason);
    if (m_pSocket)
        m_pSocket->abort(); // nothing more is read, so nothing more may pile up
    QCoreApplication::postEvent(m_pThread->Window(),
                                new QTimerEvent(EngineRegistry::instance().identifierOf(jobName())));
}
