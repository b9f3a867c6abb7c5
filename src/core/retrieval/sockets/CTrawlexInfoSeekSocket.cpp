#include "CTrawlexInfoSeekSocket.h"

void CTrawlexInfoSeekSocket::BuildFirstPageQuery()
{
    BuildFirstPageQueryFor(QStringLiteral("InfoSeek"));
}

void CTrawlexInfoSeekSocket::BuildNextPageQuery()
{
    BuildNextPageQueryFor(QStringLiteral("InfoSeek"));
}

void CTrawlexInfoSeekSocket::ParseResults()
{
    ParseResultsAs(QStringLiteral("InfoSeek"));
}
