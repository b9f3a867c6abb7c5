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
    void OnReadWithoutEnd() override;

private:
    // True once the page's title has arrived and it is not Yahoo's result page.
    bool IsOtherPage();
    void WatchConnectionEnd();

    qsizetype m_nTitleScan = 0; // where the search for the title's end goes on
    bool m_bTitleKnown = false;
    bool m_bOtherPage = false;
    bool m_bWatchingEnd = false;
};
