#include "engines/CEngineAddressLookup.h"

#include "retrieval/web/CDescriptionFetch.h"
#include "retrieval/web/EngineSources.h"

#include <QTimer>

CEngineAddressLookup::CEngineAddressLookup(QObject *parent)
    : QObject(parent)
    , m_pFetch(new CDescriptionFetch(this))
{
    connect(m_pFetch, &CDescriptionFetch::finished, this, &CEngineAddressLookup::onFetched);
}

void CEngineAddressLookup::start(const QString &address, bool instance)
{
    cancel();
    m_strAddress = address.trimmed();
    m_bFollowedLink = false;
    m_bRunning = true;
    if (instance) {
        // Reported from the event loop like a fetched answer, so callers see one order.
        QTimer::singleShot(0, this, [this] {
            if (!m_bRunning)
                return;
            QString error;
            const std::optional<EngineDefinition> d = EngineSources::fromInstance(m_strAddress, FeedFormat::Json, &error);
            finish(d, error);
        });
        return;
    }
    fetch(QUrl(m_strAddress, QUrl::StrictMode));
}

void CEngineAddressLookup::cancel()
{
    m_bRunning = false;
    m_pFetch->abort();
}

void CEngineAddressLookup::fetch(const QUrl &address)
{
    Q_EMIT fetching(address);
    m_pFetch->fetch(address);
}

void CEngineAddressLookup::onFetched(const QByteArray &body, const QUrl &finalAddress, const QString &error)
{
    if (!m_bRunning)
        return;
    if (!error.isEmpty()) {
        finish(std::nullopt, error);
        return;
    }
    QString why;
    if (EngineSources::looksLikeXml(body)) {
        const std::optional<EngineDefinition> d = EngineSources::fromDescription(body, finalAddress, &why);
        finish(d, why);
        return;
    }
    // A page that names a description is followed once; a second page is no description.
    const QUrl linked = m_bFollowedLink ? QUrl() : EngineSources::linkedDescription(body, finalAddress);
    if (!linked.isEmpty()) {
        m_bFollowedLink = true;
        fetch(linked);
        return;
    }
    if (m_bFollowedLink) {
        finish(std::nullopt, QStringLiteral("The page names a description at %1, but that is no description.")
                                 .arg(finalAddress.toString()));
        return;
    }
    const std::optional<EngineDefinition> d = EngineSources::fromInstance(m_strAddress, FeedFormat::Json, &why);
    finish(d, why);
}

void CEngineAddressLookup::finish(const std::optional<EngineDefinition> &definition, const QString &error)
{
    m_bRunning = false;
    Q_EMIT finished(definition, error);
}
