#include "WebAddress.h"

#include <algorithm>

namespace WebAddress {

QUrl OpenableUrl(const QUrl &url)
{
    if (!url.isValid() || url.isRelative())
        return {};
    // QUrl has already lowered the scheme, so "HTTP:" counts as "http:".
    const QString scheme = url.scheme();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return {};
    if (url.host().isEmpty())
        return {};
    return url;
}

QUrl OpenableUrl(const QString &address)
{
    const QString text = address.trimmed();
    // A control character inside an address is no part of a real one; it is how a tampered
    // page would try to smuggle a second address past the check.
    const bool hasControl = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() < 0x20 || c.unicode() == 0x7f;
    });
    if (text.isEmpty() || hasControl)
        return {};
    // Tolerant parsing keeps addresses of the time working that carry a blank in their path;
    // it percent-encodes what may not stand in an address.
    return OpenableUrl(QUrl(text, QUrl::TolerantMode));
}

} // namespace WebAddress
