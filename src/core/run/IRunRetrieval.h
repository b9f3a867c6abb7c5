#pragma once

struct RetrievalParams;

// The retrieval as a run drives it: start the supervisor for one pass, ask it to stop, and
// wait for it to end. Waiting must keep delivering posted packets to the receiver, since
// engine threads may be blocked on their Done events while the supervisor waits for them.
class IRunRetrieval
{
public:
    virtual ~IRunRetrieval() = default;
    // Copies the values of params (not its stop state) and starts a pass.
    virtual void Start(const RetrievalParams &params) = 0;
    virtual void RequestStop() = 0;
    // Returns at once when no pass is running.
    virtual void WaitForFinished() = 0;
};
