#include "CEngineRetrieval.h"

#include "retrieval/CRetrievalRun.h"
#include "retrieval/RetrievalParams.h"

CEngineRetrieval::CEngineRetrieval()
    : m_run(std::make_unique<CRetrievalRun>())
{
}

CEngineRetrieval::~CEngineRetrieval() = default;

void CEngineRetrieval::Start(const RetrievalParams &params)
{
    // A pass starts only after the previous one has ended (the monitor waited for it).
    m_run->waitForFinished();
    auto copy = std::make_unique<RetrievalParams>();
    copy->engines = params.engines;
    copy->booleanText = params.booleanText;
    copy->query = params.query;
    copy->engineAddressList = params.engineAddressList;
    copy->engineLevels = params.engineLevels;
    copy->yahooPath = params.yahooPath;
    copy->bMoreResults = params.bMoreResults;
    copy->maxConns = params.maxConns;
    copy->maxDelay = params.maxDelay;
    copy->receiver = params.receiver;
    copy->clock = params.clock;
    m_run->start(std::move(copy));
}

void CEngineRetrieval::RequestStop()
{
    m_run->requestStop();
}

void CEngineRetrieval::WaitForFinished()
{
    m_run->waitForFinished();
}
