#pragma once

#include "../CTrawlexEngineSocket.h"

// The AltaVista engine's connection.
class CTrawlexAltaVistaSocket final : public CTrawlexEngineSocket
{
    Q_OBJECT

public:
    using CTrawlexEngineSocket::CTrawlexEngineSocket;

protected:
    void BuildFirstPageQuery() override;
    void BuildNextPageQuery() override;
    void ParseResults() override;
};
