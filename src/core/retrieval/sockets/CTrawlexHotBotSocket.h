#pragma once

#include "../CTrawlexEngineSocket.h"

// The HotBot engine's connection.
class CTrawlexHotBotSocket final : public CTrawlexEngineSocket
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
private:
    bool m_bRedirectPosted = false;
};
