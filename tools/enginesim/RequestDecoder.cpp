#include "RequestDecoder.h"

#include "WebText.h"

#include <algorithm>

namespace {

QByteArray rawValue(const QList<QPair<QByteArray, QByteArray>> &params, const char *name, bool *found = nullptr)
{
    for (const auto &param : params) {
        if (param.first == name) {
            if (found)
                *found = true;
            return param.second;
        }
    }
    if (found)
        *found = false;
    return {};
}

int number(const QList<QPair<QByteArray, QByteArray>> &params, const char *name, int fallback)
{
    bool ok = false;
    const int value = rawValue(params, name).trimmed().toInt(&ok);
    return ok ? value : fallback;
}

} // namespace

QList<QPair<QByteArray, QByteArray>> RequestDecoder::parameters(QByteArrayView query)
{
    QList<QPair<QByteArray, QByteArray>> params;
    for (const QByteArray &piece : query.toByteArray().split('&')) {
        const qsizetype eq = piece.indexOf('=');
        if (eq < 0) {
            if (!params.isEmpty())
                params.last().second += '&' + piece;
            else if (!piece.isEmpty())
                params.append({piece, QByteArray()});
            continue;
        }
        params.append({piece.left(eq), piece.mid(eq + 1)});
    }
    return params;
}

EngineRequest RequestDecoder::decode(QByteArrayView targetView)
{
    EngineRequest request;
    request.target = targetView.toByteArray();
    const QByteArray &target = request.target;

    QByteArray path = target;
    QByteArray query;
    const qsizetype mark = target.indexOf('?');
    if (mark >= 0) {
        path = target.left(mark);
        query = target.mid(mark + 1);
    }
    while (path.startsWith('/'))
        path = path.mid(1);
    const qsizetype slash = path.indexOf('/');
    const QByteArray first = slash < 0 ? path : path.left(slash);
    QByteArray rest = slash < 0 ? QByteArray() : path.mid(slash + 1);
    while (rest.endsWith('/'))
        rest.chop(1);

    const auto params = parameters(query);
    auto search = [&](const char *engine, const char *program, const char *queryName) {
        if (rest != program)
            return;
        request.kind = EngineRequest::Kind::Search;
        request.engine = QString::fromLatin1(engine);
        request.queryText = WebText::decodeFormValue(rawValue(params, queryName));
    };

    if (first == "altavista") {
        search("AltaVista", "cgi-bin/query", "q");
        request.start = number(params, "stq", 0);
    } else if (first == "excite") {
        search("Excite", "search.gw", "search");
        request.start = number(params, "start", 0);
    } else if (first == "magellan") {
        search("Magellan", "search.gw", "search");
        request.start = number(params, "start", 0);
    } else if (first == "infoseek") {
        search("InfoSeek", "Titles", "qt");
        request.start = number(params, "st", 0);
    } else if (first == "lycos") {
        search("Lycos", "cgi-bin/pursuit", "query");
        request.start = number(params, "first", 1) - 1;
    } else if (first == "yahoo") {
        search("Yahoo", "bin/search", "p");
        request.start = number(params, "b", 1) - 1;
    } else if (first == "hotbot") {
        // The front door only hands the search on to a result server.
        request.kind = EngineRequest::Kind::Redirect;
        request.engine = QStringLiteral("HotBot");
        request.redirectPath = "hotbot-repeat/" + rest + (mark >= 0 ? "?" + query : QByteArray());
    } else if (first == "hotbot-repeat") {
        request.kind = EngineRequest::Kind::Search;
        request.engine = QStringLiteral("HotBotRepeat");
        request.queryText = WebText::decodeFormValue(rawValue(params, "MT"));
        // The base is the first hit to show, from 0; the "Next" button only names the
        // base of the page after the one it stood on. Without a base the list starts again.
        request.start = number(params, "base", 0);
    }
    request.start = std::max(request.start, 0);
    if (request.kind == EngineRequest::Kind::NotFound)
        request.engine.clear();
    return request;
}
