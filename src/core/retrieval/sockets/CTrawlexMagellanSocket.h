#pragma once

#include "../CTrawlexEngineSocket.h"

// The Magellan engine's connection.
class CTrawlexMagellanSocket final : public CTrawlexEngineSocket
{
    Q_OBJECT

public:
    using CTrawlexEngineSocket::CTrawlexEngineSocket;

protected:
    void BuildFirstPageQuery() override;
    void BuildNextPageQuery() override;
    void ParseResults() override;
};
