#pragma once

#include <QString>
#include <QStringView>
#include <QUrl>

// The address of a hit as a feed gives it: resolved against the address of the page it came
// from, and kept only when it is a web address. Anything else (javascript:, data:, mailto:,
// file:, an address without a host) would be opened by the Browse button, so it never
// becomes a hit.
class HitAddress final
{
public:
    HitAddress() = delete;

    // Longer addresses are no hit. Without a bound, one long xml:base shared by thousands of
    // tiny entries would make every hit as long as the base: output quadratic in the page.
    static constexpr qsizetype kLongest = 4096;

    // The absolute, fully encoded http or https address, or an empty string.
    static QString resolve(QStringView href, const QUrl &base);

    // True for an absolute http or https address with a host.
    static bool isWebAddress(const QUrl &url);
};
