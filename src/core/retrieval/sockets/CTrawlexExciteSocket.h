#pragma once

#include "../CTrawlexEngineSocket.h"

// The Excite engine's connection.
class CTrawlexExciteSocket final : public CTrawlexEngineSocket
{
    Q_OBJECT

public:
    using CTrawlexEngineSocket::CTrawlexEngineSocket;

protected:
    void BuildFirstPageQuery() override;
    void BuildNextPageQuery() override;
    void ParseResults() override;
};
