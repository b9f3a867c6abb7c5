#pragma once

#include "../CTrawlexEngineSocket.h"

// The Yahoo engine's connection.
class CTrawlexYahooSocket final : public CTrawlexEngineSocket
{
    Q_OBJECT

public:
    using CTrawlexEngineSocket::CTrawlexEngineSocket;

protected:
    void BuildFirstPageQuery() override;
    void BuildNextPageQuery() override;
    void ParseResults() override;
protected:
    void OnReadWithoutEnd() override;
};
