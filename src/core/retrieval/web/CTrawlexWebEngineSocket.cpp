#include "CTrawlexWebEngineSocket.h"

#include "EngineDefinition.h"
#include "WebHitFilter.h"
#include "WebQueryText.h"
#include "WebTrust.h"
#include "query/CTrawlexQueryResults.h"
#include "retrieval/CTrawlexAsyncSocketThread.h"
#include "retrieval/EngineJob.h"
#include "retrieval/EngineRegistry.h"
#include "retrieval/RetrievalParams.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>
#include <QStringList>

namespace {

// The proxy the system names for each address (http_proxy and no_proxy on Linux, the
// system settings elsewhere); none when it names none.
class SystemProxyFactory final : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override
    {
        return systemProxyForQuery(query);
    }
};

QByteArray acceptFor(const EngineDefinition &d)
{
    switch (d.format) {
    case FeedFormat::Atom:
        return "application/atom+xml, application/xml;q=0.8, */*;q=0.5";
    case FeedFormat::Rss:
        return "application/rss+xml, application/xml;q=0.8, */*;q=0.5";
    case FeedFormat::Json:
        break;
    }
    return "application/json, */*;q=0.5";
}

QString httpFailure(QNetworkReply *reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString phrase = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    QString text = QStringLiteral("HTTP %1").arg(status);
    if (!phrase.isEmpty())
        text += QLatin1Char(' ') + phrase;
    if (status == 429) {
        const QByteArray retry = reply->rawHeader("Retry-After");
        text += retry.isEmpty() ? QStringLiteral(" (too many requests: try again later)")
                                : QStringLiteral(" (try again in %1 s)").arg(QString::fromLatin1(retry).left(20));
    }
    return text;
}

} // namespace

CTrawlexWebEngineSocket::CTrawlexWebEngineSocket(EngineJob *job, CTrawlexAsyncSocketThread *thread)
    : CTrawlexEngineSocket(job, thread)
{
    if (const EngineRegistry::Descriptor d = EngineRegistry::instance().find(job->name))
        m_definition = d->definition;
}

CTrawlexWebEngineSocket::~CTrawlexWebEngineSocket()
{
    if (m_pReply) {
        m_pReply->disconnect(this);
        m_pReply->abort();
    }
}

QByteArray CTrawlexWebEngineSocket::userAgent()
{
    return "Trawlex/1.12 (desktop meta-search)";
}

void CTrawlexWebEngineSocket::Start()
{
    const RetrievalParams *params = m_pJob->params;
    if (!m_definition) {
        PostFailure(QStringLiteral("the engine is no longer defined"));
        return;
    }
    const int counter = GetPageCounter(jobName(), params->engineLevels);
    if (counter < 0) {
        // Its last page came back short: there is nothing further to ask for.
        PostCompletion(jobName(), QString(), true);
        return;
    }
    m_nPage = counter + 1;
    QString error;
    const std::optional<SearchRequest> request =
        m_definition->request(WebQueryText::compose(params->query, m_definition->operators), m_nPage, &error);
    if (!request) {
        PostFailure(error);
        return;
    }
    m_pManager = new QNetworkAccessManager(this);
    m_pManager->setProxyFactory(new SystemProxyFactory);
    m_pManager->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkRequest r(request->url);
    r.setMaximumRedirectsAllowed(kMaxRedirects);
    r.setSslConfiguration(WebTrust::configuration());
    r.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    r.setRawHeader("Accept", acceptFor(*m_definition));
    // No Accept-Encoding of our own: Qt then asks for gzip and inflates it itself.
    if (request->method == "POST") {
        r.setHeader(QNetworkRequest::ContentTypeHeader, request->contentType);
        m_pReply = m_pManager->post(r, request->body);
    } else {
        m_pReply = m_pManager->get(r);
    }
    connect(m_pReply, &QNetworkReply::readyRead, this, &CTrawlexWebEngineSocket::OnReadyRead);
    connect(m_pReply, &QNetworkReply::finished, this, &CTrawlexWebEngineSocket::OnFinished);
    connect(m_pReply, &QNetworkReply::sslErrors, this, [this](const QList<QSslError> &errors) {
        QStringList texts;
        for (const QSslError &e : errors)
            texts << e.errorString();
        m_strSslErrors = texts.join(QStringLiteral("; "));
    });
}

void CTrawlexWebEngineSocket::OnReadyRead()
{
    if (m_pThread->IsEnding())
        return;
    const QByteArray chunk = m_pReply->readAll();
    if (m_strPage.size() + chunk.size() > kMaxPageBytes) {
        m_pReply->disconnect(this);
        m_pReply->abort();
        PostFailure(QStringLiteral("the answer is larger than %1 MB").arg(kMaxPageBytes / (1024 * 1024)));
        return;
    }
    m_strPage.append(chunk);
}

void CTrawlexWebEngineSocket::OnFinished()
{
    if (m_pThread->IsEnding())
        return;
    OnReadyRead();
    if (m_pThread->IsEnding())
        return;
    const QNetworkReply::NetworkError error = m_pReply->error();
    if (error == QNetworkReply::NoError) {
        ParseResults();
        return;
    }
    QString reason;
    if (error == QNetworkReply::SslHandshakeFailedError)
        reason = QStringLiteral("certificate refused: ") + (m_strSslErrors.isEmpty() ? m_pReply->errorString() : m_strSslErrors);
    else if (error == QNetworkReply::InsecureRedirectError)
        reason = QStringLiteral("refused a redirect from https to http");
    else if (error == QNetworkReply::TooManyRedirectsError)
        reason = QStringLiteral("more than %1 redirects").arg(kMaxRedirects);
    else if (m_pReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() >= 400)
        reason = httpFailure(m_pReply);
    else
        reason = m_pReply->errorString();
    PostFailure(reason);
}

void CTrawlexWebEngineSocket::ParseResults()
{
    const WebHitFilter filter(m_pJob->params->query);
    const QUrl address = m_pReply->url(); // after redirects: what relative links mean
    const FeedPage page = m_definition->read(m_strPage, address, [&](EngineHit &&hit) {
        if (filter.accepts(hit))
            PostHit(jobName(), std::move(hit));
    });
    // A broken document before its first item is no page at all; one that broke later
    // keeps the hits already handed over.
    if (!page.ok() && page.items == 0) {
        PostFailure(page.error);
        return;
    }
    // A short page, or one that reaches the total the engine gave, is its last.
    bool lastPage = page.ok() && page.items < m_definition->pageSize;
    if (page.ok() && page.totalResults && page.startIndex)
        lastPage = lastPage || *page.startIndex + page.items - 1 >= *page.totalResults;
    PostCompletion(jobName(), QString(), lastPage);
}
