#include "CTrawlexMagellanSocket.h"

void CTrawlexMagellanSocket::BuildFirstPageQuery()
{
    BuildFirstPageQueryFor(QStringLiteral("Magellan"));
}

void CTrawlexMagellanSocket::BuildNextPageQuery()
{
    BuildNextPageQueryFor(QStringLiteral("Magellan"));
}

void CTrawlexMagellanSocket::ParseResults()
{
    ParseResultsAs(QStringLiteral("Magellan"));
}
