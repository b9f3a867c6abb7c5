#pragma once

#include "IRunRetrieval.h"

#include <memory>

class CRetrievalRun;

// The retrieval of a real run: the supervisor and its engine threads.
class CEngineRetrieval final : public IRunRetrieval
{
public:
    CEngineRetrieval();
    ~CEngineRetrieval() override;

    void Start(const RetrievalParams &params) override;
    void RequestStop() override;
    void WaitForFinished() override;

private:
    std::unique_ptr<CRetrievalRun> m_run;
};
