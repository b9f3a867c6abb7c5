#pragma once

#include <QString>

class IUserPrompt;
class QUrl;

// The one way the desktop program opens an address in the user's browser. Only web pages
// are opened (see WebAddress); any other address is shown in a message and nothing opens.
namespace WebPageOpener {

// True when the desktop was asked to open the page. A refused address is reported through
// prompt, or on stderr without one.
bool Open(const QString &address, IUserPrompt *prompt);
bool Open(const QUrl &url, IUserPrompt *prompt);

// The message a refused address gets.
QString RefusedText(const QString &address);

} // namespace WebPageOpener
