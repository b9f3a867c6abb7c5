#pragma once

#include "retrieval/CTrawlexEngineSocket.h"

#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
struct EngineDefinition;

// The connection of an engine the user added: one HTTP(S) request through
// QNetworkAccessManager in the engine's thread, its answer read by the definition's result
// reader and the user's query applied to the hits. The time limit, Stop, the connection cap
// and the page bound are the engine thread's, as for every engine.
//
// HTTPS is verified (WebTrust adds the user's extra CA certificates); redirects are followed
// up to kMaxRedirects and never from https down to http; gzip is taken. A certificate error,
// an HTTP error status, an answer over the bound or a broken document ends the engine as
// failed with its reason.
class CTrawlexWebEngineSocket final : public CTrawlexEngineSocket
{
    Q_OBJECT

public:
    static constexpr int kMaxRedirects = 5;

    CTrawlexWebEngineSocket(EngineJob *job, CTrawlexAsyncSocketThread *thread);
    ~CTrawlexWebEngineSocket() override;

    void Start() override;

    // "Trawlex/1.12 (desktop meta-search)".
    static QByteArray userAgent();

protected:
    void BuildFirstPageQuery() override {}
    void BuildNextPageQuery() override {}
    void ParseResults() override;

private:
    void OnReadyRead();
    void OnFinished();

    std::shared_ptr<const EngineDefinition> m_definition;
    QNetworkAccessManager *m_pManager = nullptr;
    QNetworkReply *m_pReply = nullptr;
    QString m_strSslErrors;
    int m_nPage = 1;
};
