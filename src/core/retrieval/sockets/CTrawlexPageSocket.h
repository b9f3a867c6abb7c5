#pragma once

#include "../CTrawlexEngineSocket.h"

// The connection of an engine with nothing of its own to do (AltaVista, Excite, InfoSeek,
// Lycos, Magellan): its requests and its parse are the ones named after its job.
class CTrawlexPageSocket final : public CTrawlexEngineSocket
{
    Q_OBJECT

public:
    using CTrawlexEngineSocket::CTrawlexEngineSocket;

protected:
    void BuildFirstPageQuery() override;
    void BuildNextPageQuery() override;
    void ParseResults() override;
};
