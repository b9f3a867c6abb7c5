#pragma once

#include "Corpus.h"

#include <QByteArray>
#include <QString>

struct EngineRequest;
class QueryExpression;

// Answers a decoded search with the engine's own result page, in the markup
// each engine served in 1997-98 (the places the client cuts hits out of).
class PageWriter final
{
public:
    // serverAddress is "host:port", used in absolute addresses of the pages.
    PageWriter(const Corpus &corpus, const QString &serverAddress, bool utf8);

    QString charsetName() const;
    const QString &serverAddress() const { return m_serverAddress; }
    // The whole HTML page for a search request, encoded in the page charset.
    QByteArray resultPage(const EngineRequest &request) const;
    QByteArray notFoundPage(const QByteArray &target) const;
    // Yahoo's directory page for a category address its result pages link to
    // ("/yahoo/Food/Apple_Orchards/"); empty when no page is in that category.
    QByteArray categoryPage(const QByteArray &target) const;
    QByteArray redirectPage(const QByteArray &location) const;

    static constexpr int kPageSize = 10;
    static constexpr int kYahooPageSize = 20;

private:
    QString altaVista(const EngineRequest &request, const QList<Corpus::Hit> &hits) const;
    QString excite(const EngineRequest &request, const QList<Corpus::Hit> &hits) const;
    QString hotBot(const EngineRequest &request, const QList<Corpus::Hit> &hits) const;
    QString infoSeek(const EngineRequest &request, const QList<Corpus::Hit> &hits) const;
    QString lycos(const EngineRequest &request, const QList<Corpus::Hit> &hits) const;
    QString magellan(const EngineRequest &request, const QList<Corpus::Hit> &hits) const;
    QString yahoo(const EngineRequest &request, const QueryExpression &expression, const QList<Corpus::Hit> &hits) const;

    QString metaCharset() const;
    QString percent(const QList<Corpus::Hit> &hits, int i) const;
    const SimDocument &doc(const Corpus::Hit &hit) const { return m_corpus.documents().at(hit.index); }

    const Corpus &m_corpus;
    Corpus m_categories; // Yahoo's directory: one entry per category
    QString m_serverAddress;
    bool m_utf8;
};
