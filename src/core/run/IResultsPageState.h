#pragma once

// The results view's page index as a run reads and writes it: 0 in a new run, not 0 in a run
// for more results, and part of the progress figure. The desktop view keeps the index itself;
// without a view the run keeps its own.
class IResultsPageState
{
public:
    virtual ~IResultsPageState() = default;
    virtual int PageIndex() const = 0;
    virtual void SetPageIndex(int page) = 0;
};
