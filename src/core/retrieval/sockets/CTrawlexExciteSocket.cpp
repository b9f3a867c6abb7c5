#include "CTrawlexExciteSocket.h"

void CTrawlexExciteSocket::BuildFirstPageQuery()
{
    BuildFirstPageQueryFor(QStringLiteral("Excite"));
}

void CTrawlexExciteSocket::BuildNextPageQuery()
{
    BuildNextPageQueryFor(QStringLiteral("Excite"));
}

void CTrawlexExciteSocket::ParseResults()
{
    ParseResultsAs(QStringLiteral("Excite"));
}
