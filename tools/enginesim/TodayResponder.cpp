#include "TodayResponder.h"

#include "Corpus.h"
#include "Gzip.h"
#include "OpenSearchWriter.h"
#include "QueryExpression.h"
#include "TodayRequest.h"

#include <QUrl>

namespace {

using Field = QueryExpression::Field;
using Format = FeedWriter::Format;

const QHash<QString, Field> kTodayFields = {
    {QStringLiteral("intitle"), Field::Title}, {QStringLiteral("inurl"), Field::Url}, {QStringLiteral("site"), Field::Domain}};

// How long a client is told to wait after a 429.
constexpr int kRetryAfterSeconds = 120;

} // namespace

TodayResponder::TodayResponder(const Corpus &corpus) : m_corpus(corpus)
{
}

FeedWriter::Page TodayResponder::search(const TodayRequest &request, Format format, const QString &selfUrl) const
{
    const QueryExpression expression =
        QueryExpression::parse(request.queryText(), QueryExpression::Syntax::Today, kTodayFields);
    const QList<Corpus::Hit> hits = m_corpus.search(expression);
    FeedWriter::Page page;
    page.format = format;
    page.query = request.queryText();
    page.selfUrl = selfUrl;
    page.total = int(hits.size());
    page.first = request.first();
    page.count = request.count();
    page.words = expression.positiveWords();
    for (qsizetype i = page.first; i < hits.size() && i < qsizetype(page.first) + page.count; ++i)
        page.items.append(&m_corpus.documents().at(hits.at(i).index));
    return page;
}

TodayResponder::Answer TodayResponder::answer(const TodayRequest &request, const Context &context,
                                              FaultPlan::Kind fault) const
{
    using Route = TodayRequest::Route;
    using Kind = FaultPlan::Kind;
    const QString scheme = context.https ? QStringLiteral("https") : QStringLiteral("http");
    const QString host = request.host().isEmpty() ? context.localAddress : request.host();
    const QString base = scheme + QStringLiteral("://") + host;
    const QString self = base + QString::fromLatin1(request.target());

    switch (request.route()) {
    case Route::None:
    case Route::NotFound:
        return error("404 Not Found");
    case Route::BadMethod:
        return error("405 Method Not Allowed",
                     request.target().startsWith("/feed/post") ? "Allow: POST\r\n" : "Allow: GET, POST\r\n");
    case Route::BadBody:
        return error("415 Unsupported Media Type");
    case Route::SearxBadFormat:
        // What an instance answers for a format it does not serve.
        return error("403 Forbidden");
    default:
        break;
    }

    if (!request.redirected()) {
        switch (fault) {
        case Kind::Http403: return error("403 Forbidden");
        case Kind::Http429:
            return error("429 Too Many Requests", "Retry-After: " + QByteArray::number(kRetryAfterSeconds) + "\r\n");
        case Kind::Http500: return error("500 Internal Server Error");
        case Kind::RedirectLoop: return error("302 Found", "Location: " + self.toUtf8() + "\r\n");
        case Kind::RedirectOnce:
            // A form's POST moves with 307, which keeps the method and the body.
            return error(request.method() == "POST" ? "307 Temporary Redirect" : "302 Found",
                         "Location: " + base.toUtf8() + "/moved" + request.target() + "\r\n");
        case Kind::RedirectDowngrade:
            if (context.https) {
                const QString hostName = QUrl(QStringLiteral("//") + host).host();
                QString plain = QStringLiteral("http://%1:%2").arg(hostName.contains(u':') ? u'[' + hostName + u']' : hostName)
                                    .arg(context.httpPort);
                return error("302 Found", "Location: " + plain.toUtf8() + request.target() + "\r\n");
            }
            break;
        default:
            break;
        }
    }

    Answer answer;
    if (request.route() == Route::Description) {
        answer.contentType = OpenSearchWriter::contentType();
        answer.body = OpenSearchWriter::description(request.descriptionName(), base);
        if (fault == Kind::BadXml || fault == Kind::BadJson)
            answer.body = broken(answer.body, Format::Atom);
        return answer;
    }
    const Format format = request.route() == Route::AtomFeed  ? Format::Atom
                          : request.route() == Route::RssFeed ? Format::Rss
                          : request.route() == Route::SearxRss ? Format::Rss
                                                                : Format::SearxJson;
    answer.contentType = FeedWriter::contentType(format);
    FeedWriter::Page page = search(request, format, self);
    if (fault == Kind::Oversize && !request.redirected()) {
        page.items.clear();
        answer.oversize = page;
        return answer;
    }
    answer.body = FeedWriter::document(page);
    if (fault == Kind::BadXml || fault == Kind::BadJson)
        answer.body = broken(answer.body, format);
    return answer;
}

TodayResponder::Answer TodayResponder::error(const QByteArray &status, const QByteArray &extraHeaders)
{
    Answer answer;
    answer.status = status;
    answer.extraHeaders = extraHeaders;
    answer.contentType = "text/html; charset=utf-8";
    answer.body = "<!DOCTYPE html>\n<html><head><title>" + status + "</title></head><body><h1>" + status
                  + "</h1></body></html>\n";
    return answer;
}

QByteArray TodayResponder::broken(const QByteArray &document, Format format)
{
    // An XML document whose first element closes under another name and which
    // stops short; JSON cut in the middle of the results. bad-xml on a JSON
    // form and bad-json on an XML one break it in that form's own way.
    if (format == Format::SearxJson)
        return document.left(document.size() / 2);
    QByteArray bytes = document;
    const qsizetype close = bytes.indexOf("</", bytes.indexOf("?>") + 2);
    if (close >= 0)
        bytes.insert(close + 2, "broken-");
    return bytes.left(bytes.size() * 3 / 4);
}

QByteArray TodayResponder::head(const Answer &answer, qint64 bodyLength, bool gzip)
{
    QByteArray head = "HTTP/1.1 " + answer.status + "\r\nServer: trawlex-enginesim\r\n" + answer.extraHeaders;
    head += "Content-Type: " + answer.contentType + "\r\n";
    if (gzip)
        head += "Content-Encoding: gzip\r\n";
    head += "Vary: Accept-Encoding\r\nContent-Length: " + QByteArray::number(bodyLength) + "\r\nConnection: close\r\n\r\n";
    return head;
}

QByteArray TodayResponder::bytes(const Answer &answer, bool gzip)
{
    if (gzip && !answer.body.isEmpty()) {
        const QByteArray packed = Gzip::compress(answer.body);
        if (!packed.isEmpty())
            return head(answer, packed.size(), true) + packed;
    }
    return head(answer, answer.body.size(), false) + answer.body;
}
