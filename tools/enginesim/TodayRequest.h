#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// An HTTP/1.1 request for one of today's forms: OpenSearch description
// documents, Atom and RSS feeds with the OpenSearch response elements, and a
// metasearch instance's JSON or RSS results.
class TodayRequest final
{
public:
    enum class Route {
        None,            // not one of today's paths: the seven engines' decoder takes it
        NotFound,        // under a path of today's forms, but nothing there
        BadMethod,       // a path that exists, asked with the wrong method
        BadBody,         // a POST whose body is not a form
        Description,     // /opensearch/NAME.xml
        AtomFeed,        // /feed/atom
        RssFeed,         // /feed/rss and /feed/post
        SearxJson,       // /feed/json and /searx/search?format=json
        SearxRss,        // /searx/search?format=rss
        SearxBadFormat,  // /searx/search without a format it serves
    };

    static constexpr int kPageSize = 10;
    static constexpr int kMaxCount = 50;

    // Reads the request head (up to the blank line) and the body that followed it.
    static TodayRequest parse(const QByteArray &head, const QByteArray &body);
    // The body length a head announces (Content-Length), 0 without one, -1 when unreadable.
    static qsizetype contentLength(const QByteArray &head);

    Route route() const { return m_route; }
    // The fault plan's name for what is asked: "atom", "rss", "json", "post",
    // "searx", "opensearch", or empty.
    QString faultName() const { return m_faultName; }
    // Description documents: one of OpenSearchWriter::names().
    QString descriptionName() const { return m_descriptionName; }

    const QByteArray &method() const { return m_method; }
    const QByteArray &target() const { return m_target; }
    QByteArray requestLine() const { return m_requestLine; }
    // The first header of that name (any case), trimmed; empty when absent.
    QByteArray header(const QByteArray &name) const;
    bool acceptsGzip() const;
    // The Host header when it is a plain host[:port]; empty otherwise.
    QString host() const;

    // Asked through the address a redirect-once fault sent the client to.
    bool redirected() const { return m_redirected; }

    QString queryText() const { return m_queryText; }
    // The hits asked for: the first (from 0) and how many.
    int first() const { return m_first; }
    int count() const { return m_count; }

private:
    void route(const QByteArray &path, const QList<QPair<QByteArray, QByteArray>> &params);

    Route m_route = Route::None;
    QString m_faultName;
    QString m_descriptionName;
    QByteArray m_method;
    QByteArray m_target;
    QByteArray m_requestLine;
    QList<QPair<QByteArray, QByteArray>> m_headers; // names in lower case
    QByteArray m_body;
    QString m_queryText;
    bool m_redirected = false;
    int m_first = 0;
    int m_count = kPageSize;
};
