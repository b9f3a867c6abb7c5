#pragma once

#include "../CTrawlexEngineSocket.h"

// The InfoSeek engine's connection.
class CTrawlexInfoSeekSocket final : public CTrawlexEngineSocket
{
    Q_OBJECT

public:
    using CTrawlexEngineSocket::CTrawlexEngineSocket;

protected:
    void BuildFirstPageQuery() override;
    void BuildNextPageQuery() override;
    void ParseResults() override;
};
