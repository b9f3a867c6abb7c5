#pragma once

#include "run/IResultsPageState.h"
#include "views/CResultsPageModel.h"

#include <QFont>
#include <QList>
#include <QRect>
#include <QScrollArea>
#include <QString>
#include <QStringList>

class CQueryCommands;
class CTrawlexBrowseButton;
class CTrawlexHitTitle;
class CTrawlexMoreButton;
class CTrawlexPreviousButton;
class CTrawlexResultText;
class CTrawlexResultsFilterBar;
class IUserPrompt;
class QMenu;
class QWidget;

// The results pane: the hits of the document's current query, ten to a page, each page built
// from child controls placed in rows of one line height (H) and columns of one character width
// (W) of the title font. At 70 columns the page has its classic layout; a wider or narrower
// pane moves the right edges with it, so the page never scrolls sideways. Browse or the title
// opens a hit and marks it visited; More and Previous page through the hits, More asking the
// engines for further hits when the list is used up.
class CTrawlexQueryResultsView final : public QScrollArea, public IResultsPageState
{
    Q_OBJECT

public:
    static constexpr int kScrollRows = 58;
    static constexpr int kReferenceColumns = 70;
    static constexpr int kMinimumColumns = 24;

    explicit CTrawlexQueryResultsView(QWidget *parent = nullptr);
    ~CTrawlexQueryResultsView() override;

    // Where the pages come from; without one there is no page. The model must outlive the
    // view (or be replaced first).
    void setPageModel(CResultsPageModel *model);
    // Where a refused address is reported; null reports to stderr.
    void setPrompt(IUserPrompt *prompt) { m_pPrompt = prompt; }
    // Carries out More past the hits held; without it, More only emits moreResultsRequested().
    void setCommands(CQueryCommands *commands) { m_pCommands = commands; }
    // What the line above the hits says of the last run: how many engines were asked and
    // which failed. It holds for the query whose results are held when called (or, before
    // that query is stored, for the next one shown); any other query shows its own engines.
    void setRunSummary(int engineCount, const QStringList &failedEngines);
    // Back to what the query on show asks: its engines, and no failures.
    void clearRunSummary();

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

    // The columns the page is laid out in: what the pane's width holds, at least the minimum.
    int columns() const;
    // The width the view needs, at its present height, for a page of the given columns.
    int widthForColumns(int columns) const;

    // The controls of the page on show (null when absent); per hit title, Browse, address
    // and summary in that order.
    CTrawlexResultText *headerText() const { return m_pHeaderText; }
    CTrawlexResultText *summaryLine() const { return m_pSummaryLine; }
    CTrawlexResultText *messageText() const { return m_pMessageText; }
    CTrawlexResultText *filterMessageText() const { return m_pFilterMessage; }
    CTrawlexMoreButton *moreButton() const { return m_pMoreButton; }
    CTrawlexPreviousButton *previousButton() const { return m_pPreviousButton; }
    CTrawlexResultsFilterBar *filterBar() const { return m_pFilterBar; }
    const QList<QWidget *> &pageChildren() const { return m_children; }
    // The "From ..." lines of the hits whose engines are known, in page order.
    const QList<CTrawlexResultText *> &originLines() const { return m_originLines; }
    // Where a control was placed, in units: x and width in W, y and height in H. Buttons may
    // be drawn larger than their place when their text needs it.
    QRect unitRect(const QWidget *control) const;
    // The hits the filter lets through, in page order (all of the page without a filter).
    QList<int> shownHits() const;

    // The menu of one hit: Open, Copy address, Copy title and address. It belongs to the view
    // and deletes itself when closed.
    QMenu *CreateHitMenu(int hitIndex);

public Q_SLOTS:
    void OnBrowse(int hitIndex);
    void OnMore();
    void OnPrevious();
    // The filter bar: opened with the focus in it, or closed with every hit shown again.
    void openFilter();
    void closeFilter();

Q_SIGNALS:
    // More needs hits the list does not hold yet: the run for more results is due.
    void moreResultsRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The controls of one hit, and the rows they take.
    struct HitControls
    {
        int index = -1;
        CTrawlexHitTitle *title = nullptr;
        CTrawlexBrowseButton *browse = nullptr;
        CTrawlexResultText *address = nullptr;
        CTrawlexResultText *summary = nullptr;
        // The engines that returned the hit; null when they are not known (older files).
        CTrawlexResultText *origin = nullptr;
        bool shown = true;
    };
    static int HitRows(const HitControls &hit);

    void CreateFonts();
    void BuildControls(const CResultsPageModel::Page &page);
    template <class T> T *Adopt(T *control, const QFont &font);
    void ChainTabOrder();
    void Relayout();
    int PageWidth() const;
    void ApplyFilter(const QString &filter);
    void UpdateSummaryLine();
    int HitOf(const QObject *control) const;
    const HitControls *FindHit(int hitIndex) const;
    void FocusNeighbourHit(int hitIndex, int step);
    void EnsureHitVisible(const HitControls &hit);
    bool HandlePageKey(int key);
    void CopyAddress(int hitIndex, bool withTitle) const;

    CTrawlexMoreButton *m_pMoreButton = nullptr;
    CTrawlexPreviousButton *m_pPreviousButton = nullptr;
    CTrawlexResultText *m_pMessageText = nullptr;
    CTrawlexResultText *m_pHeaderText = nullptr;
    CTrawlexResultText *m_pSummaryLine = nullptr;
    CTrawlexResultText *m_pFilterMessage = nullptr;
    int m_nLineHeight = 0;
    int m_nCharWidth = 0;
    int m_nHeaderRows = 0;
    QFont m_fontLink;
    QFont m_fontLinkVisited;
    QFont m_fontHeader;
    QFont m_fontAddress;
    QFont m_fontAddressVisited;
    QFont m_fontText;
    QFont m_fontButton;
    QList<QWidget *> m_children;
    QList<CTrawlexResultText *> m_originLines;
    QList<HitControls> m_hits;

    // What the summary line counts: the page's first hit, how many it shows, of how many.
    int m_nFirstHit = 0;
    int m_nShownCount = 0;
    int m_nTotalHits = 0;
    // The last run's engines, for the query it ran (-1: none set; the query's own engines).
    int m_nSummaryQid = -1;
    bool m_bSummarySet = false;
    int m_nRunEngines = 0;
    QStringList m_failedEngines;

    CTrawlexResultsFilterBar *m_pFilterBar = nullptr;
    // The hit that had the focus, so a rebuild of the page can give it back.
    int m_nFocusHit = -1;
    bool m_bRebuilding = false;

    QWidget *m_pContent = nullptr;
    CResultsPageModel m_noModel;
    CResultsPageModel *m_pModel = &m_noModel;
    IUserPrompt *m_pPrompt = nullptr;
    CQueryCommands *m_pCommands = nullptr;
};
