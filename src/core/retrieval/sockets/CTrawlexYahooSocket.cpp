#include "CTrawlexYahooSocket.h"

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
    // Not Yahoo's result page (a redirect or an error page): parse what there is now rather
    // than wait for an end that may never come.
    if (!m_strPage.contains("<TITLE>Yahoo! Search Results"))
        ParseResults();
}
