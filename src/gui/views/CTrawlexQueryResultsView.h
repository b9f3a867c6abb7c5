#pragma once

#include "run/IResultsPageState.h"

#include <QFont>
#include <QList>
#include <QRect>
#include <QScrollArea>
#include <QSet>
#include <QString>

class CDaoException;
class CRunMonitor;
class CTrawlexDoc;
class CTrawlexMoreButton;
class CTrawlexPreviousButton;
class CTrawlexQuery;
class CTrawlexQueryResults;
class CTrawlexResultText;
class CTrawlexSettings;
class IUserPrompt;
class QWidget;

// The results pane: the hits of the document's current query, ten to a page, each page built
// from child controls placed at multiples of one line height (H) and one character width (W)
// of the title font. Browse opens a hit and marks it visited; More and Previous page through
// the hits, More asking the engines for further hits when the list is used up.
class CTrawlexQueryResultsView final : public QScrollArea, public IResultsPageState
{
    Q_OBJECT

public:
    static constexpr int kScrollRows = 58;

    explicit CTrawlexQueryResultsView(QWidget *parent = nullptr);
    ~CTrawlexQueryResultsView() override;

    // What the pages show and where they are kept. The objects belong to the caller and must
    // outlive the view (or be replaced first).
    void setDocument(CTrawlexDoc *doc, CTrawlexQuery *query, CTrawlexQueryResults *results);
    // MaxURL, read at every page build; without settings visits last 7 days.
    void setSettings(const CTrawlexSettings *settings) { m_pSettings = settings; }
    // Where a database failure is reported; null reports to stderr.
    void setPrompt(IUserPrompt *prompt) { m_pPrompt = prompt; }
    // Starts the run for more results; without one, More only emits moreResultsRequested().
    void setRunMonitor(CRunMonitor *monitor) { m_pRunMonitor = monitor; }

    // Builds page m_nPage of the current query, then counts m_nPage on. A database failure is
    // reported once and ends the build where it happened; false then.
    bool ShowPage();
    // Removes every control of the page on show.
    void DestroyPageControls();
    // Enables or disables "More" and "Previous" of the page on show (a run turns them off).
    void setPageButtonsEnabled(bool enabled);

    // The page the next ShowPage builds; while page k is shown it holds k + 1.
    int m_nPage = 0;
    int PageIndex() const override { return m_nPage; }
    void SetPageIndex(int page) override { m_nPage = page; }

    // Layout units and fonts, as measured and made at creation.
    int lineHeight() const { return m_nLineHeight; }
    int charWidth() const { return m_nCharWidth; }
    const QFont &fontLink() const { return m_fontLink; }
    const QFont &fontLinkVisited() const { return m_fontLinkVisited; }
    const QFont &fontHeader() const { return m_fontHeader; }
    const QFont &fontAddress() const { return m_fontAddress; }
    const QFont &fontAddressVisited() const { return m_fontAddressVisited; }
    const QFont &fontText() const { return m_fontText; }
    const QFont &fontButton() const { return m_fontButton; }

    // The controls of the page on show (null when absent); per hit title, Browse, address
    // and summary in that order.
    CTrawlexResultText *headerText() const { return m_pHeaderText; }
    CTrawlexResultText *messageText() const { return m_pMessageText; }
    CTrawlexMoreButton *moreButton() const { return m_pMoreButton; }
    CTrawlexPreviousButton *previousButton() const { return m_pPreviousButton; }
    const QList<QWidget *> &pageChildren() const { return m_children; }
    // Where a control was placed, in units: x and width in W, y and height in H.
    QRect unitRect(const QWidget *control) const;

public Q_SLOTS:
    void OnBrowse(int hitIndex);
    void OnMore();
    void OnPrevious();

Q_SIGNALS:
    // More needs hits the list does not hold yet: the run for more results is due.
    void moreResultsRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void CreateFonts();
    void BuildControls(int page, int start, int end, bool pastEnd, const QSet<QString> &visited);
    template <class T> T *Place(T *control, const QFont *font, int left, int top, int right, int bottom);
    void ReportError(const CDaoException &e);

    CTrawlexMoreButton *m_pMoreButton = nullptr;
    CTrawlexPreviousButton *m_pPreviousButton = nullptr;
    CTrawlexResultText *m_pMessageText = nullptr;
    CTrawlexResultText *m_pHeaderText = nullptr;
    int m_nLineHeight = 0;
    int m_nCharWidth = 0;
    QFont m_fontLink;
    QFont m_fontLinkVisited;
    QFont m_fontHeader;
    QFont m_fontAddress;
    QFont m_fontAddressVisited;
    QFont m_fontText;
    QFont m_fontButton;
    QList<QWidget *> m_children;

    QWidget *m_pContent = nullptr;
    CTrawlexDoc *m_pDoc = nullptr;
    CTrawlexQuery *m_pQuery = nullptr;
    CTrawlexQueryResults *m_pResults = nullptr;
    const CTrawlexSettings *m_pSettings = nullptr;
    IUserPrompt *m_pPrompt = nullptr;
    CRunMonitor *m_pRunMonitor = nullptr;
};
