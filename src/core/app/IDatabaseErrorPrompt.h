#pragma once

class CDaoException;

// A prompt that words database failures for its user itself. ReportDaoError hands a failure
// to a prompt that also implements this, instead of showing the bare report; the command
// line's prompt does not, so scripts keep reading the report.
class IDatabaseErrorPrompt
{
public:
    virtual ~IDatabaseErrorPrompt() = default;

    virtual void showDatabaseError(const CDaoException &e) = 0;
};
