#include "CTrawlexQueryResultsView.h"

#include "CTrawlexBrowseButton.h"
#include "CTrawlexHitTitle.h"
#include "CTrawlexMoreButton.h"
#include "CTrawlexPreviousButton.h"
#include "CTrawlexResultText.h"
#include "CTrawlexResultsFilterBar.h"

#include "common/WebPageOpener.h"
#include "run/CQueryCommands.h"
#include "views/ResultsPageTexts.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>

#include <algorithm>

namespace {
QFont Styled(QFont f, bool bold, bool italic, bool underline)
{
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    return f;
}

QFont Scaled(QFont f, qreal factor)
{
    if (f.pointSizeF() > 0)
        f.setPointSizeF(f.pointSizeF() * factor);
    else
        f.setPixelSize(std::max(1, qRound(f.pixelSize() * factor)));
    return f;
}

int CeilDiv(int a, int b)
{
    return (a + b - 1) / b;
}
} // namespace

CTrawlexQueryResultsView::CTrawlexQueryResultsView(QWidget *parent)
    : QScrollArea(parent)
{
    setObjectName(QStringLiteral("ResultsView"));
    setAccessibleName(QStringLiteral("Results"));
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    CreateFonts();

    m_pContent = new QWidget;
    m_pContent->setObjectName(QStringLiteral("ResultsPage"));
    m_pContent->setBackgroundRole(QPalette::Base);
    m_pContent->setAutoFillBackground(true);
    // At least 58 rows high and exactly as wide as the pane: no horizontal scrolling.
    m_pContent->setMinimumHeight(kScrollRows * m_nLineHeight);
    m_pContent->installEventFilter(this);
    setWidget(m_pContent);
    setWidgetResizable(true);
    verticalScrollBar()->setSingleStep(m_nLineHeight);

    m_pFilterBar = new CTrawlexResultsFilterBar(this);
    m_pFilterBar->hide();
    connect(m_pFilterBar, &CTrawlexResultsFilterBar::filterChanged, this, &CTrawlexQueryResultsView::ApplyFilter);
    connect(m_pFilterBar, &CTrawlexResultsFilterBar::closeRequested, this, &CTrawlexQueryResultsView::closeFilter);
    new QShortcut(QKeySequence(QKeySequence::Find), this, this, &CTrawlexQueryResultsView::openFilter,
                  Qt::WidgetWithChildrenShortcut);
    ChainTabOrder();
}

CTrawlexQueryResultsView::~CTrawlexQueryResultsView()
{
    // The controls go before the view's members they report to.
    m_bRebuilding = true;
    m_pContent->removeEventFilter(this);
    DestroyPageControls();
}

void CTrawlexQueryResultsView::CreateFonts()
{
    // The platform's faces and sizes; the page varies only weight, slant, underline and size.
    const QFont base = QApplication::font();
    m_fontText = base;
    m_fontLink = Styled(base, true, false, true);
    m_fontLinkVisited = Styled(base, true, true, true);
    m_fontHeader = Scaled(base, 1.25);
    m_fontAddress = Styled(base, false, true, false);
    m_fontAddressVisited = base;
    m_fontButton = QApplication::font("QPushButton");

    // A row holds one line of any of the page's texts, with a pixel to spare for descenders
    // at the foot of a box.
    const QFontMetrics fm(m_fontLink);
    m_nLineHeight = std::max({1, fm.height(), QFontMetrics(m_fontText).lineSpacing() + 1,
                              QFontMetrics(m_fontAddress).height()});
    m_nCharWidth = std::max(1, fm.averageCharWidth());
}

void CTrawlexQueryResultsView::setPageModel(CResultsPageModel *model)
{
    DestroyPageControls();
    m_pModel = model ? model : &m_noModel;
}

void CTrawlexQueryResultsView::setRunSummary(int engineCount, const QStringList &failedEngines)
{
    m_bSummarySet = true;
    m_nSummaryQid = m_pModel->queryId();
    m_nRunEngines = engineCount;
    m_failedEngines = failedEngines;
    UpdateSummaryLine();
}

void CTrawlexQueryResultsView::clearRunSummary()
{
    m_bSummarySet = false;
    m_nSummaryQid = -1;
    m_nRunEngines = 0;
    m_failedEngines.clear();
    UpdateSummaryLine();
}

void CTrawlexQueryResultsView::UpdateSummaryLine()
{
    if (!m_pSummaryLine)
        return;
    const int qid = m_pModel->queryId();
    // A summary set before its query had a key belongs to the query first shown after it.
    if (m_bSummarySet && m_nSummaryQid == -1)
        m_nSummaryQid = qid;
    int engines = 0;
    QStringList failed;
    if (m_bSummarySet && m_nSummaryQid == qid) {
        engines = m_nRunEngines;
        failed = m_failedEngines;
    } else {
        engines = m_pModel->askedEngineCount();
    }
    m_pSummaryLine->setText(ResultsPageTexts::RunSummaryText(m_nFirstHit, m_nShownCount, m_nTotalHits, engines, failed));
}

void CTrawlexQueryResultsView::DestroyPageControls()
{
    // The focus stays in the pane while its controls go, so the rebuilt page can take it back
    // rather than the focus wandering to another pane.
    QWidget *focus = QApplication::focusWidget();
    if (focus && m_pContent->isAncestorOf(focus)) {
        m_nFocusHit = HitOf(focus);
        const bool rebuilding = m_bRebuilding;
        m_bRebuilding = true;
        setFocus(Qt::OtherFocusReason);
        m_bRebuilding = rebuilding;
    }
    // Button clicks reach this view through queued connections, so no control is deleted
    // while it is still delivering its own signal.
    m_hits.clear();
    qDeleteAll(m_children);
    m_children.clear();
    qDeleteAll(m_originLines);
    m_originLines.clear();
    delete m_pHeaderText;
    delete m_pSummaryLine;
    delete m_pFilterMessage;
    delete m_pMoreButton;
    delete m_pPreviousButton;
    delete m_pMessageText;
    m_pHeaderText = nullptr;
    m_pSummaryLine = nullptr;
    m_pFilterMessage = nullptr;
    m_pMoreButton = nullptr;
    m_pPreviousButton = nullptr;
    m_pMessageText = nullptr;
}

void CTrawlexQueryResultsView::setPageButtonsEnabled(bool enabled)
{
    if (m_pMoreButton)
        m_pMoreButton->setEnabled(enabled);
    if (m_pPreviousButton)
        m_pPreviousButton->setEnabled(enabled);
}

template <class T> T *CTrawlexQueryResultsView::Adopt(T *control, const QFont &font)
{
    control->setFont(font);
    control->installEventFilter(this);
    control->show();
    return control;
}

QRect CTrawlexQueryResultsView::unitRect(const QWidget *control) const
{
    return control ? control->property("unitRect").toRect() : QRect();
}

QList<int> CTrawlexQueryResultsView::shownHits() const
{
    QList<int> shown;
    for (const HitControls &hit : m_hits) {
        if (hit.shown)
            shown << hit.index;
    }
    return shown;
}

bool CTrawlexQueryResultsView::ShowPage()
{
    m_bRebuilding = true;
    DestroyPageControls();
    m_bRebuilding = false;
    // Kept only while the focus is in the pane, to be given back to the same hit.
    if (!hasFocus())
        m_nFocusHit = -1;
    verticalScrollBar()->setValue(0);
    if (!m_pModel->isReady())
        return false;
    if (m_nPage < 0)
        m_nPage = 0;

    // A failure is reported over the page as far as it was built.
    const auto relayout = [this] { Relayout(); };
    const std::optional<CResultsPageModel::Page> page = m_pModel->page(m_nPage, relayout);
    if (!page)
        return false;
    m_nFirstHit = page->range.start;
    m_nShownCount = page->range.hitCount();
    m_nTotalHits = page->totalHits;
    BuildControls(*page);
    if (!m_pModel->finishPage(*page, relayout))
        return false;
    ++m_nPage;
    m_pContent->update();
    return true;
}

void CTrawlexQueryResultsView::BuildControls(const CResultsPageModel::Page &page)
{
    const int start = page.range.start;
    m_pSummaryLine = Adopt(new CTrawlexResultText(start, QString(), m_pContent), m_fontText);
    m_pSummaryLine->setElided(true);
    m_pSummaryLine->setAccessibleName(QStringLiteral("Hit count"));
    UpdateSummaryLine();

    if (!page.hits.isEmpty()) {
        m_nHeaderRows = page.range.page == 0 ? 3 : 4;
        m_pHeaderText = Adopt(new CTrawlexResultText(start, page.headerText, m_pContent), m_fontHeader);

        for (const CResultsPageModel::Hit &shown : page.hits) {
            const int i = shown.index;
            HitControls hit;
            hit.index = i;
            hit.title = Adopt(new CTrawlexHitTitle(i, shown.titleText, shown.title, shown.address, shown.visited,
                                                   m_pContent),
                              shown.visited ? m_fontLinkVisited : m_fontLink);
            connect(hit.title, &CTrawlexHitTitle::activated, this, &CTrawlexQueryResultsView::OnBrowse,
                    Qt::QueuedConnection);
            hit.browse = Adopt(new CTrawlexBrowseButton(i, shown.title, m_pContent), m_fontButton);
            // The title is the keyboard's way to the hit; Browse is for the mouse.
            hit.browse->setFocusPolicy(Qt::ClickFocus);
            connect(hit.browse, &CTrawlexBrowseButton::browseHit, this, &CTrawlexQueryResultsView::OnBrowse,
                    Qt::QueuedConnection);
            hit.address = Adopt(new CTrawlexResultText(i, shown.addressText, m_pContent),
                                shown.visited ? m_fontAddressVisited : m_fontAddress);
            hit.address->setElided(true);
            hit.summary = Adopt(new CTrawlexResultText(i, shown.summary, m_pContent), m_fontText);
            const QString &origin = shown.originText;
            if (!origin.isEmpty()) {
                hit.origin = Adopt(new CTrawlexResultText(i, origin, m_pContent), m_fontAddressVisited);
                hit.origin->setElided(true);
                hit.origin->setAccessibleName(origin);
                hit.origin->setToolTip(origin); // the whole list, when the line is cut short
            }
            // The button sits over the address row, so it is raised above the texts.
            hit.browse->raise();
            m_children << hit.title << hit.browse << hit.address << hit.summary;
            if (hit.origin)
                m_originLines << hit.origin;
            m_hits << hit;
        }
    }

    if (page.hasMore) {
        m_pMoreButton = Adopt(new CTrawlexMoreButton(m_pContent), m_fontButton);
        connect(m_pMoreButton, &QPushButton::clicked, this, &CTrawlexQueryResultsView::OnMore, Qt::QueuedConnection);
    } else {
        m_pMessageText = Adopt(new CTrawlexResultText(start, page.messageText, m_pContent), m_fontText);
    }
    if (page.hasPrevious) {
        m_pPreviousButton = Adopt(new CTrawlexPreviousButton(m_pContent), m_fontButton);
        connect(m_pPreviousButton, &QPushButton::clicked, this, &CTrawlexQueryResultsView::OnPrevious,
                Qt::QueuedConnection);
    }

    ChainTabOrder();
    if (m_pFilterBar->isVisible())
        ApplyFilter(m_pFilterBar->filterText());
    else
        Relayout();

    // The focus was in the pane before the rebuild: give it to the same hit, or the first.
    if (hasFocus() && !m_hits.isEmpty()) {
        const HitControls *hit = FindHit(m_nFocusHit);
        if (!hit || !hit->shown)
            hit = FindHit(shownHits().value(0, -1));
        if (hit)
            hit->title->setFocus(Qt::OtherFocusReason);
    }
}

void CTrawlexQueryResultsView::ChainTabOrder()
{
    // The screen's order: each hit's title, then More and Previous, then the filter bar.
    QWidget *last = this;
    const auto chain = [&last](QWidget *next) {
        if (!next)
            return;
        setTabOrder(last, next);
        last = next;
    };
    for (const HitControls &hit : m_hits)
        chain(hit.title);
    chain(m_pMoreButton);
    chain(m_pPreviousButton);
    // Closed, the bar keeps its place in the chain (Tab passes over it), so the pane's
    // controls stay together before whatever follows the pane.
    chain(m_pFilterBar->lineEdit());
    chain(m_pFilterBar->closeButton());
}

int CTrawlexQueryResultsView::HitRows(const HitControls &hit)
{
    // Title over two rows (the address on the second), the engines when known, three of summary.
    return hit.origin ? 6 : 5;
}

int CTrawlexQueryResultsView::PageWidth() const
{
    // Worked out from the pane's own size, so a page built before the pane is shown is
    // laid out as it will be seen.
    const QSize room = maximumViewportSize();
    int width = room.width();
    if (m_pContent->minimumHeight() > room.height())
        width -= verticalScrollBar()->sizeHint().width();
    return width;
}

int CTrawlexQueryResultsView::columns() const
{
    return std::max(kMinimumColumns, PageWidth() / m_nCharWidth);
}

int CTrawlexQueryResultsView::widthForColumns(int columns) const
{
    return columns * m_nCharWidth + (width() - PageWidth());
}

void CTrawlexQueryResultsView::Relayout()
{
    const int w = m_nCharWidth;
    const int h = m_nLineHeight;
    const int cols = columns();
    const int textRight = cols - 2;
    const int browseRight = cols - 4;
    // Title and Browse keep their classic gap (from Browse's classic 8 columns) until the pane
    // is narrower than the reference; a wider button only ever pushes the title back.
    const int gap = std::clamp(8 - (kReferenceColumns - cols), 1, 8);

    // A button is never smaller than its text needs, whatever the scale: it grows out of its
    // place, to the left when it keeps to the right edge.
    // Half a row above the first line, so the page does not start flush with the pane's edge.
    const int pad = h / 2;
    const auto place = [w, h, pad](QWidget *control, int left, int top, int right, int bottom, bool keepRight = false) {
        right = std::max(right, left + 1);
        QRect box(left * w, top * h + pad, (right - left) * w, (bottom - top) * h);
        if (qobject_cast<QPushButton *>(control)) {
            const QSize size = box.size().expandedTo(control->sizeHint());
            box = QRect(keepRight ? std::max(0, box.right() + 1 - size.width()) : box.left(), box.top(), size.width(),
                        size.height());
        }
        control->setGeometry(box);
        control->setProperty("unitRect", QRect(left, top, right - left, bottom - top));
    };
    // Where a button that grew out of its place ends, in whole columns.
    const auto rightColumn = [w](const QWidget *button) { return CeilDiv(button->geometry().right() + 1, w); };

    if (m_pSummaryLine)
        place(m_pSummaryLine, 2, 0, textRight, 1);
    int r = 1;
    if (m_pHeaderText) {
        place(m_pHeaderText, 2, r, textRight, r + m_nHeaderRows);
        r += m_nHeaderRows;
    }
    for (const HitControls &hit : std::as_const(m_hits)) {
        if (!hit.shown)
            continue;
        const int browseLeft = std::max(2, browseRight - 8);
        place(hit.browse, browseLeft, r, browseRight, r + 1, true);
        const int browseX = hit.browse->geometry().left();
        const int titleRight = std::min(browseLeft - gap, browseX / w - 1);
        place(hit.title, 2, r, std::max(3, titleRight), r + 2);
        place(hit.address, 2, r + 1, textRight, r + 2);
        // A button taller than its row reaches into the address line: the address stops short.
        const bool reaches = hit.browse->geometry().bottom() >= (r + 1) * h + pad;
        hit.address->setContentsMargins(0, 0, reaches ? std::max(0, textRight * w - browseX + w / 2) : 0, 0);
        // The engines go right under the address, where they read as the hit's own; below its
        // summary they would sit against the next title.
        const int summaryTop = hit.origin ? r + 3 : r + 2;
        if (hit.origin)
            place(hit.origin, 2, r + 2, textRight, r + 3);
        place(hit.summary, 2, summaryTop, textRight, summaryTop + 3);
        r += HitRows(hit);
    }
    if (m_pFilterMessage) {
        place(m_pFilterMessage, 2, r, textRight, r + 3);
        r += 3;
    }
    int bottom = r;
    if (m_pMoreButton) {
        place(m_pMoreButton, 1, r, 13, r + 2);
        if (m_pPreviousButton) {
            // Previous keeps clear of a More that grew.
            const int left = std::max(15, rightColumn(m_pMoreButton) + 2);
            place(m_pPreviousButton, left, r, left + 13, r + 2);
        }
        bottom = r + 2;
    } else if (m_pMessageText) {
        place(m_pMessageText, 2, r, textRight, r + 3);
        bottom = r + 3;
        if (m_pPreviousButton) {
            place(m_pPreviousButton, 1, r + 3, 13, r + 5);
            bottom = r + 5;
        }
    }
    int contentBottom = (bottom + 1) * h;
    for (QWidget *button : {static_cast<QWidget *>(m_pMoreButton), static_cast<QWidget *>(m_pPreviousButton)}) {
        if (button)
            contentBottom = std::max(contentBottom, button->geometry().bottom() + h);
    }
    m_pContent->setMinimumHeight(std::max(kScrollRows * h, contentBottom));
}

void CTrawlexQueryResultsView::OnBrowse(int hitIndex)
{
    const std::optional<QString> address = m_pModel->address(hitIndex);
    if (!m_pModel->isReady() || !address)
        return;
    // An address that is no web page was shown to the user instead: no visit to record.
    if (!WebPageOpener::Open(*address, m_pPrompt) || !m_pModel->recordVisit(*address))
        return;
    // The same page again, showing the hit as visited, where the user was on it.
    const int scrolled = verticalScrollBar()->value();
    --m_nPage;
    ShowPage();
    verticalScrollBar()->setValue(scrolled);
}

void CTrawlexQueryResultsView::OnMore()
{
    setPageButtonsEnabled(false);
    if (!m_pModel->isReady())
        return;
    const std::optional<bool> held = m_pModel->nextPageIsHeld(m_nPage);
    if (!held) {
        setPageButtonsEnabled(true);
        return;
    }
    if (*held) {
        ShowPage();
        return;
    }
    // The page on show stays, its buttons off, until the run completes and the page due is
    // built from the enlarged list.
    Q_EMIT moreResultsRequested();
    if (m_pCommands && !m_pCommands->moreResults()) {
        // The run did not start (its reason has been shown): the page must stay usable.
        setPageButtonsEnabled(true);
    }
}

void CTrawlexQueryResultsView::OnPrevious()
{
    m_nPage -= 2;
    ShowPage();
}

void CTrawlexQueryResultsView::ApplyFilter(const QString &filter)
{
    if (!m_pModel->hasResults())
        return;
    int shown = 0;
    for (HitControls &hit : m_hits) {
        hit.shown = m_pModel->hitMatchesFilter(hit.index, filter);
        for (QWidget *control : {static_cast<QWidget *>(hit.title), static_cast<QWidget *>(hit.browse),
                                 static_cast<QWidget *>(hit.address), static_cast<QWidget *>(hit.summary),
                                 static_cast<QWidget *>(hit.origin)}) {
            if (control)
                control->setVisible(hit.shown);
        }
        shown += hit.shown ? 1 : 0;
    }
    const bool noneMatch = !m_hits.isEmpty() && shown == 0;
    if (noneMatch && !m_pFilterMessage) {
        m_pFilterMessage = Adopt(new CTrawlexResultText(m_hits.first().index, ResultsPageTexts::FilterNoMatchText(),
                                                        m_pContent),
                                 m_fontText);
    } else if (!noneMatch && m_pFilterMessage) {
        delete m_pFilterMessage;
        m_pFilterMessage = nullptr;
    }
    if (filter.trimmed().isEmpty() || m_hits.isEmpty())
        m_pFilterBar->setStatus(QString());
    else if (noneMatch)
        m_pFilterBar->setStatus(ResultsPageTexts::FilterNoMatchText());
    else
        m_pFilterBar->setStatus(QStringLiteral("%1 of %2").arg(shown).arg(m_hits.size()));
    Relayout();
}

void CTrawlexQueryResultsView::openFilter()
{
    if (!m_pFilterBar->isVisible()) {
        m_pFilterBar->show();
        // The bar takes its height from under the page, so nothing of the page is covered.
        setViewportMargins(0, 0, 0, m_pFilterBar->sizeHint().height());
        resizeEvent(nullptr);
        ChainTabOrder();
        ApplyFilter(m_pFilterBar->filterText());
    }
    m_pFilterBar->focusWords();
}

void CTrawlexQueryResultsView::closeFilter()
{
    if (!m_pFilterBar->isVisible())
        return;
    const bool hadFocus = m_pFilterBar->isAncestorOf(QApplication::focusWidget());
    m_pFilterBar->hide();
    setViewportMargins(0, 0, 0, 0);
    m_pFilterBar->lineEdit()->clear();
    ApplyFilter(QString());
    if (hadFocus) {
        const HitControls *hit = FindHit(m_nFocusHit);
        if (!hit && !m_hits.isEmpty())
            hit = &m_hits.first();
        if (hit)
            hit->title->setFocus(Qt::OtherFocusReason);
        else
            setFocus(Qt::OtherFocusReason);
    }
}

int CTrawlexQueryResultsView::HitOf(const QObject *control) const
{
    for (const HitControls &hit : m_hits) {
        if (control == hit.title || control == hit.browse || control == hit.address || control == hit.summary ||
            (hit.origin && control == hit.origin))
            return hit.index;
    }
    return -1;
}

const CTrawlexQueryResultsView::HitControls *CTrawlexQueryResultsView::FindHit(int hitIndex) const
{
    for (const HitControls &hit : m_hits) {
        if (hit.index == hitIndex)
            return &hit;
    }
    return nullptr;
}

void CTrawlexQueryResultsView::FocusNeighbourHit(int hitIndex, int step)
{
    const QList<int> shown = shownHits();
    const qsizetype at = shown.indexOf(hitIndex);
    const qsizetype next = at + step;
    if (at < 0)
        return;
    if (next < 0) {
        // Above the first hit is the header: show it.
        verticalScrollBar()->setValue(0);
        return;
    }
    if (next >= shown.size()) {
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
        return;
    }
    FindHit(shown.at(next))->title->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void CTrawlexQueryResultsView::EnsureHitVisible(const HitControls &hit)
{
    // The whole hit, title to the end of its summary, with a row to spare above.
    const QRect top = hit.title->geometry();
    const QRect bottom = hit.summary->geometry();
    const int ymargin = (bottom.bottom() - top.top()) / 2 + m_nLineHeight;
    ensureVisible(top.left(), (top.top() + bottom.bottom()) / 2, 0, ymargin);
}

QMenu *CTrawlexQueryResultsView::CreateHitMenu(int hitIndex)
{
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("HitMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // Queued: opening rebuilds the page, and the menu may have come from one of its controls.
    QAction *open = menu->addAction(QStringLiteral("&Open"), this, [this, hitIndex] {
        QMetaObject::invokeMethod(this, [this, hitIndex] { OnBrowse(hitIndex); }, Qt::QueuedConnection);
    });
    open->setObjectName(QStringLiteral("HitOpen"));
    menu->setDefaultAction(open);
    QAction *copy = menu->addAction(QStringLiteral("Copy &address"), this, [this, hitIndex] { CopyAddress(hitIndex, false); });
    copy->setObjectName(QStringLiteral("HitCopyAddress"));
    copy->setShortcut(QKeySequence::Copy);
    QAction *both = menu->addAction(QStringLiteral("Copy &title and address"), this,
                                    [this, hitIndex] { CopyAddress(hitIndex, true); });
    both->setObjectName(QStringLiteral("HitCopyTitleAndAddress"));
    return menu;
}

void CTrawlexQueryResultsView::CopyAddress(int hitIndex, bool withTitle) const
{
    const std::optional<QString> address = m_pModel->address(hitIndex);
    if (!address)
        return;
    auto *data = new QMimeData;
    if (withTitle) {
        const QString title = m_pModel->title(hitIndex);
        data->setText(ResultsPageTexts::TitleAndAddressText(title, *address));
        // Rich editors get a link; both parts are escaped, as they came from the network.
        data->setHtml(QStringLiteral("<a href=\"%1\">%2</a>").arg(address->toHtmlEscaped(), title.toHtmlEscaped()));
    } else {
        data->setText(*address);
    }
    QGuiApplication::clipboard()->setMimeData(data);
}

bool CTrawlexQueryResultsView::HandlePageKey(int key)
{
    // Page Down and Page Up turn the page when the page has the button for it.
    QPushButton *button = key == Qt::Key_PageDown ? static_cast<QPushButton *>(m_pMoreButton)
                                                  : static_cast<QPushButton *>(m_pPreviousButton);
    if (!button)
        return false;
    // Queued, as a click is: the key may have come to a control the new page replaces.
    if (button->isEnabled()) {
        if (button == m_pMoreButton)
            QMetaObject::invokeMethod(this, &CTrawlexQueryResultsView::OnMore, Qt::QueuedConnection);
        else
            QMetaObject::invokeMethod(this, &CTrawlexQueryResultsView::OnPrevious, Qt::QueuedConnection);
    }
    return true;
}

bool CTrawlexQueryResultsView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pContent) {
        if (event->type() == QEvent::Resize)
            Relayout();
        return false;
    }
    auto *control = qobject_cast<QWidget *>(watched);
    if (!control || control->parentWidget() != m_pContent)
        return QScrollArea::eventFilter(watched, event);
    const int hit = HitOf(control);

    switch (event->type()) {
    case QEvent::ContextMenu:
        if (hit >= 0) {
            m_nFocusHit = hit;
            CreateHitMenu(hit)->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
            return true;
        }
        break;
    case QEvent::FocusIn:
        if (const HitControls *h = FindHit(hit)) {
            m_nFocusHit = hit;
            EnsureHitVisible(*h);
        } else {
            ensureWidgetVisible(control, 0, m_nLineHeight);
        }
        break;
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool plain = key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier;
        if (hit >= 0 && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) && plain) {
            FocusNeighbourHit(hit, key->key() == Qt::Key_Down ? 1 : -1);
            return true;
        }
        if (hit >= 0 && key->matches(QKeySequence::Copy)) {
            CopyAddress(hit, false);
            return true;
        }
        if ((key->key() == Qt::Key_PageDown || key->key() == Qt::Key_PageUp) && plain) {
            keyPressEvent(key);
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && plain) {
            if (auto *button = qobject_cast<QPushButton *>(control)) {
                button->click();
                return true;
            }
        }
        if (key->key() == Qt::Key_Escape && m_pFilterBar->isVisible()) {
            closeFilter();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QScrollArea::eventFilter(watched, event);
}

void CTrawlexQueryResultsView::focusInEvent(QFocusEvent *event)
{
    QScrollArea::focusInEvent(event);
    if (m_bRebuilding || m_hits.isEmpty())
        return;
    // The pane itself only passes the focus on, to the hit that had it last or the first.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::MouseFocusReason)
        return;
    if (reason == Qt::BacktabFocusReason) {
        // Only the first hit's title lies after the pane in the tab chain: going backwards
        // from it leaves the pane.
        m_nFocusHit = -1;
        focusNextPrevChild(false);
        return;
    }
    const HitControls *hit = FindHit(m_nFocusHit);
    if (!hit || !hit->shown)
        hit = FindHit(shownHits().value(0, -1));
    if (hit)
        hit->title->setFocus(reason);
}

void CTrawlexQueryResultsView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (!HandlePageKey(event->key()))
            verticalScrollBar()->triggerAction(event->key() == Qt::Key_PageUp ? QAbstractSlider::SliderPageStepSub
                                                                               : QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_Up:
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Down:
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_Left:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Right:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_Escape:
        if (m_pFilterBar->isVisible()) {
            closeFilter();
            break;
        }
        QScrollArea::keyPressEvent(event);
        return;
    default:
        QScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CTrawlexQueryResultsView::resizeEvent(QResizeEvent *event)
{
    if (event)
        QScrollArea::resizeEvent(event);
    if (m_pFilterBar->isVisible()) {
        // Right under the page, beside the scroll bar, which keeps the pane's full height.
        const QRect page = viewport()->geometry();
        m_pFilterBar->setGeometry(page.left(), page.bottom() + 1, page.width(), m_pFilterBar->sizeHint().height());
    }
    // A page step is the visible height, a line step one row.
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(m_nLineHeight);
    Relayout();
}
