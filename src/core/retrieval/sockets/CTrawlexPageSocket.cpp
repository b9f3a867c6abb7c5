#include "CTrawlexPageSocket.h"

void CTrawlexPageSocket::BuildFirstPageQuery()
{
    BuildFirstPageQueryFor(jobName());
}

void CTrawlexPageSocket::BuildNextPageQuery()
{
    BuildNextPageQueryFor(jobName());
}

void CTrawlexPageSocket::ParseResults()
{
    ParseResultsAs(jobName());
}
