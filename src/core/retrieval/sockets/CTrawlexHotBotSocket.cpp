#include "CTrawlexHotBotSocket.h"

#include "../CTrawlexAsyncSocketThread.h"
#include "../CTrawlexAsyncSocketThreadMainWindow.h"
#include "../HttpRequestText.h"
#include "../RetrievalMessages.h"

#include <QCoreApplication>

void CTrawlexHotBotSocket::BuildFirstPageQuery()
{
    BuildFirstPageQueryFor(QStringLiteral("HotBot"));
}

void CTrawlexHotBotSocket::BuildNextPageQuery()
{
    BuildNextPageQueryFor(QStringLiteral("HotBot"));
}

void CTrawlexHotBotSocket::ParseResults()
{
    ParseResultsAs(QStringLiteral("HotBot"));
}

void CTrawlexHotBotSocket::OnReadWithoutEnd()
{
    if (m_bRedirectPosted || !m_strPage.contains("302 Moved"))
        return;
    // Follow the first address in the answer; wait for more data while its line is cut off.
    const qsizetype scheme = m_strPage.indexOf("http://");
    if (scheme < 0)
        return;
    const QByteArrayView after = QByteArrayView(m_strPage).sliced(scheme);
    if (after.indexOf(' ') < 0 && after.indexOf('\r') < 0 && after.indexOf('\n') < 0)
        return;
    m_pThread->SetRedirect(HttpRequestText::redirectRequest(m_strPage));
    m_bRedirectPosted = true;
    if (m_pThread->Redirect().isEmpty()) {
        PostFailure(); // an address without a path: there is nothing to repeat
        return;
    }
    QCoreApplication::postEvent(m_pThread->Window(), new QEvent(RetrievalMessages::WM_HOTBOT_REPEAT));
}
