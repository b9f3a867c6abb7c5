#include "TodayRequest.h"

#include "OpenSearchWriter.h"
#include "RequestDecoder.h"
#include "WebText.h"

#include <QHash>

#include <algorithm>

namespace {

using Params = QList<QPair<QByteArray, QByteArray>>;

// Large enough for any real paging, small enough that first = (page - 1) * count fits an int.
constexpr int kMaxPage = 1000000;

// The first value of each name, as a form's CGI program would take it.
QHash<QByteArray, QByteArray> firstValues(const Params &params)
{
    QHash<QByteArray, QByteArray> values;
    for (auto it = params.crbegin(); it != params.crend(); ++it)
        values.insert(it->first, it->second);
    return values;
}

// A number parameter; absent, unreadable or below low gives fallback, above high gives high.
int number(const QHash<QByteArray, QByteArray> &values, const char *name, int fallback, int low, int high)
{
    bool ok = false;
    const int n = values.value(name).trimmed().toInt(&ok);
    if (!ok || n < low)
        return fallback;
    return std::min(n, high);
}

} // namespace

qsizetype TodayRequest::contentLength(const QByteArray &head)
{
    for (const QByteArray &rawLine : head.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || line.left(colon).trimmed().toLower() != "content-length")
            continue;
        bool ok = false;
        const qlonglong length = line.mid(colon + 1).trimmed().toLongLong(&ok);
        return ok && length >= 0 ? qsizetype(length) : -1;
    }
    return 0;
}

TodayRequest TodayRequest::parse(const QByteArray &head, const QByteArray &body)
{
    TodayRequest request;
    const QList<QByteArray> lines = head.split('\n');
    request.m_requestLine = lines.value(0).trimmed();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            request.m_headers.append({line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed()});
    }
    const QList<QByteArray> parts = request.m_requestLine.split(' ');
    if (parts.size() < 2)
        return request;
    request.m_method = parts.at(0);
    request.m_target = parts.at(1);
    request.m_body = body;

    QByteArray path = request.m_target;
    QByteArray query;
    const qsizetype mark = path.indexOf('?');
    if (mark >= 0) {
        query = path.mid(mark + 1);
        path.truncate(mark);
    }
    if (path.startsWith("/moved/")) {
        request.m_redirected = true;
        path = path.mid(6);
    }
    Params params = RequestDecoder::parameters(query);
    if (request.m_method == "POST") {
        const QByteArray type = request.header("content-type").split(';').first().trimmed().toLower();
        if (type == "application/x-www-form-urlencoded")
            params += RequestDecoder::parameters(body.trimmed());
        else if (path == "/feed/post" || path == "/searx/search")
            request.m_route = Route::BadBody;
    }
    if (request.m_route == Route::None)
        request.route(path, params);
    return request;
}

void TodayRequest::route(const QByteArray &path, const Params &list)
{
    const QHash<QByteArray, QByteArray> params = firstValues(list);
    if (path.startsWith("/opensearch/")) {
        m_faultName = QStringLiteral("opensearch");
        const QByteArray file = path.mid(12);
        const QString name = QString::fromLatin1(file.left(file.size() - 4));
        if (!file.endsWith(".xml") || !OpenSearchWriter::names().contains(name)) {
            m_route = Route::NotFound;
            return;
        }
        m_descriptionName = name;
        m_route = m_method == "GET" ? Route::Description : Route::BadMethod;
        return;
    }
    const bool feed = path.startsWith("/feed/");
    const bool searx = path.startsWith("/searx/");
    if (!feed && !searx)
        return; // one of the seven, or unknown to both
    m_route = Route::NotFound;
    m_queryText = WebText::decodeFormValue(params.value("q"));

    if (path == "/feed/atom") {
        m_faultName = QStringLiteral("atom");
        m_count = number(params, "count", kPageSize, 1, kMaxCount);
        m_first = number(params, "start", 1, 1, kMaxPage) - 1;
        m_route = Route::AtomFeed;
    } else if (path == "/feed/rss" || path == "/feed/post") {
        const bool post = path == "/feed/post";
        m_faultName = post ? QStringLiteral("post") : QStringLiteral("rss");
        m_count = post ? kPageSize : number(params, "n", kPageSize, 1, kMaxCount);
        m_first = (number(params, "page", 1, 1, kMaxPage) - 1) * m_count;
        m_route = Route::RssFeed;
        if (post != (m_method == "POST"))
            m_route = Route::BadMethod;
    } else if (path == "/feed/json") {
        m_faultName = QStringLiteral("json");
        m_first = (number(params, "pageno", 1, 1, kMaxPage) - 1) * m_count;
        m_route = Route::SearxJson;
    } else if (path == "/searx/search") {
        m_faultName = QStringLiteral("searx");
        m_first = (number(params, "pageno", 1, 1, kMaxPage) - 1) * m_count;
        const QByteArray format = params.value("format").toLower();
        m_route = format == "json" ? Route::SearxJson : format == "rss" ? Route::SearxRss : Route::SearxBadFormat;
    } else {
        m_faultName = feed ? QString() : QStringLiteral("searx");
        return;
    }
    if (m_route != Route::BadMethod && m_method != "GET" && m_method != "POST")
        m_route = Route::BadMethod;
}

QByteArray TodayRequest::header(const QByteArray &name) const
{
    const QByteArray key = name.toLower();
    for (const auto &header : m_headers) {
        if (header.first == key)
            return header.second;
    }
    return {};
}

bool TodayRequest::acceptsGzip() const
{
    // "gzip", "gzip;q=0.5", "x-gzip"; a zero weight declines it.
    for (const QByteArray &item : header("accept-encoding").split(',')) {
        const QList<QByteArray> parts = item.split(';');
        const QByteArray coding = parts.first().trimmed().toLower();
        if (coding != "gzip" && coding != "x-gzip")
            continue;
        for (qsizetype i = 1; i < parts.size(); ++i) {
            const QByteArray param = parts.at(i).trimmed().toLower();
            if (param.startsWith("q=") && param.mid(2).toDouble() <= 0.0)
                return false;
        }
        return true;
    }
    return false;
}

QString TodayRequest::host() const
{
    const QByteArray value = header("host");
    if (value.isEmpty() || value.size() > 255)
        return {};
    // Only what a host and port are made of: the value goes into addresses and markup.
    for (const char c : value) {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.'
                             || c == '-' || c == ':' || c == '[' || c == ']';
        if (!allowed)
            return {};
    }
    return QString::fromLatin1(value);
}
