#include "CTrawlexYahooSocket.h"

#include <QTcpSocket>

#include <algorithm>

void CTrawlexYahooSocket::BuildFirstPageQuery()
{
    BuildFirstPageQueryFor(QStringLiteral("Yahoo"));
}

void CTrawlexYahooSocket::BuildNextPageQuery()
{
    BuildNextPageQueryFor(QStringLiteral("Yahoo"));
}

void CTrawlexYahooSocket::ParseResults()
{
    ParseResultsAs(QStringLiteral("Yahoo"));
}

void CTrawlexYahooSocket::OnReadWithoutEnd()
{
    // A page of another kind (an error page, a redirect) may never end, so it is parsed as
    // soon as its title shows what it is. Anything less (the headers alone, half a title) is
    // no page yet: it ends with its end tag or, failing that, when the server closes.
    WatchConnectionEnd();
    if (IsOtherPage())
        ParseResults();
}

bool CTrawlexYahooSocket::IsOtherPage()
{
    if (m_bTitleKnown)
        return m_bOtherPage;
    static constexpr QByteArrayView kTitleEnd("</title");
    // Only the bytes that arrived since the last look, plus a marker's length before them.
    const qsizetype from = std::max<qsizetype>(0, m_nTitleScan - (kTitleEnd.size() - 1));
    const qsizetype at = QByteArrayView(m_strPage).sliced(from).toByteArray().toLower().indexOf(kTitleEnd);
    m_nTitleScan = m_strPage.size();
    if (at < 0)
        return false;
    m_bTitleKnown = true;
    // In any letter case: a page that is Yahoo's after all must not be cut short.
    m_bOtherPage = !m_strPage.left(from + at).toUpper().contains("<TITLE>YAHOO! SEARCH RESULTS");
    return m_bOtherPage;
}

void CTrawlexYahooSocket::WatchConnectionEnd()
{
    if (m_bWatchingEnd)
        return;
    m_bWatchingEnd = true;
    auto *socket = findChild<QTcpSocket *>(QString(), Qt::FindDirectChildrenOnly);
    if (!socket)
        return;
    // What arrived before the server closed is the whole page. A connection that the program
    // aborts itself (failure, time limit, clean-up) reports no such error.
    connect(socket, &QAbstractSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (error == QAbstractSocket::RemoteHostClosedError)
            ParseResults();
    });
}
