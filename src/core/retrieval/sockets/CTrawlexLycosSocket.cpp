#include "CTrawlexLycosSocket.h"

void CTrawlexLycosSocket::BuildFirstPageQuery()
{
    BuildFirstPageQueryFor(QStringLiteral("Lycos"));
}

void CTrawlexLycosSocket::BuildNextPageQuery()
{
    BuildNextPageQueryFor(QStringLiteral("Lycos"));
}

void CTrawlexLycosSocket::ParseResults()
{
    ParseResultsAs(QStringLiteral("Lycos"));
}
