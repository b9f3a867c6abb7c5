#include "CDescriptionFetch.h"

#include "CTrawlexWebEngineSocket.h"
#include "WebTrust.h"
#include "retrieval/opensearch/HitAddress.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

CDescriptionFetch::CDescriptionFetch(QObject *parent)
    : QObject(parent)
    , m_pManager(new QNetworkAccessManager(this))
{
    m_pManager->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

CDescriptionFetch::~CDescriptionFetch()
{
    abort();
}

void CDescriptionFetch::abort()
{
    if (!m_pReply)
        return;
    QNetworkReply *reply = m_pReply;
    m_pReply = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

void CDescriptionFetch::fetch(const QUrl &address)
{
    abort();
    m_body.clear();
    if (!HitAddress::isWebAddress(address)) {
        // Reported from the event loop, as every other outcome is.
        QTimer::singleShot(0, this, [this, address] {
            Q_EMIT finished({}, address,
                            QStringLiteral("Only http and https addresses can be fetched: %1").arg(address.toString()));
        });
        return;
    }
    QNetworkRequest request(address);
    request.setMaximumRedirectsAllowed(CTrawlexWebEngineSocket::kMaxRedirects);
    request.setSslConfiguration(WebTrust::configuration());
    request.setHeader(QNetworkRequest::UserAgentHeader, CTrawlexWebEngineSocket::userAgent());
    request.setRawHeader("Accept", "application/opensearchdescription+xml, application/xml;q=0.9, */*;q=0.5");
    request.setTransferTimeout(kTimeoutMs);
    m_pReply = m_pManager->get(request);
    connect(m_pReply, &QNetworkReply::readyRead, this, [this] {
        m_body += m_pReply->readAll();
        if (m_body.size() > kMaxBytes)
            finish(QStringLiteral("The answer is larger than %1 KB; a description is much smaller.").arg(kMaxBytes / 1024));
    });
    connect(m_pReply, &QNetworkReply::finished, this, [this] {
        m_body += m_pReply->readAll();
        if (m_pReply->error() == QNetworkReply::NoError)
            finish({});
        else if (const int status = m_pReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(); status >= 400)
            finish(QStringLiteral("The server answered HTTP %1.").arg(status));
        else
            finish(m_pReply->errorString());
    });
}

void CDescriptionFetch::finish(const QString &error)
{
    if (!m_pReply)
        return;
    const QUrl where = m_pReply->url();
    const QByteArray body = error.isEmpty() ? m_body : QByteArray();
    abort();
    m_body.clear();
    Q_EMIT finished(body, where, error);
}

bool CDescriptionFetch::fetchAndWait(const QUrl &address, QByteArray *body, QUrl *finalAddress, QString *error)
{
    CDescriptionFetch fetch;
    QEventLoop loop;
    bool ok = false;
    connect(&fetch, &CDescriptionFetch::finished, &loop,
            [&](const QByteArray &b, const QUrl &where, const QString &why) {
                *body = b;
                *finalAddress = where;
                *error = why;
                ok = why.isEmpty();
                loop.quit();
            });
    fetch.fetch(address);
    loop.exec();
    return ok;
}
