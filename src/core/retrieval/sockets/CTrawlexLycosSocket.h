#pragma once

#include "../CTrawlexEngineSocket.h"

// The Lycos engine's connection.
class CTrawlexLycosSocket final : public CTrawlexEngineSocket
{
    Q_OBJECT

public:
    using CTrawlexEngineSocket::CTrawlexEngineSocket;

protected:
    void BuildFirstPageQuery() override;
    void BuildNextPageQuery() override;
    void ParseResults() override;
};
