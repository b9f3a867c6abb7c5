#pragma once

#include <QString>
#include <QUrl>

// What the program hands to the desktop to open: an absolute http or https address with a
// host, nothing else. Addresses come from result pages fetched over plain HTTP, so a file:,
// javascript: or relative address must never reach the desktop's URL handlers.
namespace WebAddress {

// The address as it would be opened, or an empty QUrl when it is not an openable web page.
// Blanks and line ends around the text are ignored; control characters inside it are not.
QUrl OpenableUrl(const QString &address);
QUrl OpenableUrl(const QUrl &url);

inline bool IsOpenable(const QString &address) { return !OpenableUrl(address).isEmpty(); }

} // namespace WebAddress
