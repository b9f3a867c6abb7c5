#include "common/WebPageOpener.h"

#include "app/IUserPrompt.h"
#include "app/WebAddress.h"

#include <QDesktopServices>
#include <QTextStream>
#include <QUrl>

namespace WebPageOpener {
namespace {

bool OpenChecked(const QUrl &openable, const QString &shown, IUserPrompt *prompt)
{
    if (openable.isEmpty()) {
        const QString text = RefusedText(shown);
        if (prompt)
            prompt->showMessage(text);
        else
            QTextStream(stderr) << text << '\n';
        return false;
    }
    // The desktop's browser decides; a failure to open is not reported, as it never was.
    QDesktopServices::openUrl(openable);
    return true;
}

} // namespace

QString RefusedText(const QString &address)
{
    return QStringLiteral("Error!  Only web pages (http or https) are opened.  This address was not opened:\n%1")
        .arg(address);
}

bool Open(const QString &address, IUserPrompt *prompt)
{
    return OpenChecked(WebAddress::OpenableUrl(address), address, prompt);
}

bool Open(const QUrl &url, IUserPrompt *prompt)
{
    return OpenChecked(WebAddress::OpenableUrl(url), url.toString(), prompt);
}

} // namespace WebPageOpener
