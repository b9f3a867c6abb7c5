#include "CTrawlexAltaVistaSocket.h"

void CTrawlexAltaVistaSocket::BuildFirstPageQuery()
{
    BuildFirstPageQueryFor(QStringLiteral("AltaVista"));
}

void CTrawlexAltaVistaSocket::BuildNextPageQuery()
{
    BuildNextPageQueryFor(QStringLiteral("AltaVista"));
}

void CTrawlexAltaVistaSocket::ParseResults()
{
    ParseResultsAs(QStringLiteral("AltaVista"));
}
