#include "HttpRequestText.h"

namespace HttpRequestText {

QByteArray build(QByteArrayView path, QByteArrayView tail)
{
    static constexpr QByteArrayView head("GET /");
    static constexpr QByteArrayView rest(" HTTP/1.0\nAccept: */* User-Agent: ZazuDeveri\n\n");
    QByteArray request;
    request.reserve(head.size() + path.size() + tail.size() + rest.size());
    request.append(head).append(path).append(tail).append(rest);
    return request;
}

QByteArray redirectRequest(QByteArrayView page)
{
    const qsizetype scheme = page.indexOf(QByteArrayView("http://"));
    if (scheme < 0)
        return {};
    QByteArrayView rest = page.sliced(scheme + 7);
    const qsizetype slash = rest.indexOf('/');
    if (slash < 0)
        return {};
    rest = rest.sliced(slash + 1);
    qsizetype end = 0;
    while (end < rest.size() && rest[end] != ' ' && rest[end] != '\r' && rest[end] != '\n')
        ++end;
    return build(rest.first(end));
}

} // namespace HttpRequestText
