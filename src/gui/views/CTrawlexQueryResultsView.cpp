#include "CTrawlexQueryResultsView.h"

#include "CTrawlexBrowseButton.h"
#include "CTrawlexMoreButton.h"
#include "CTrawlexPreviousButton.h"
#include "CTrawlexResultText.h"

#include "app/CTrawlexSettings.h"
#include "common/WebPageOpener.h"
#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "run/CRunMonitor.h"
#include "store/CDaoException.h"
#include "store/CTrawlexDoc.h"
#include "views/CLinkAgeTracker.h"
#include "views/CResultsPaging.h"
#include "views/ResultsPageTexts.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QScrollBar>

#include <algorithm>

namespace {
constexpr int kDefaultMaxUrlDays = 7;

QFont MakeFont(const QString &face, int height, int weight, bool italic, bool underline)
{
    // Heights are the old negative character heights, that is pixel sizes.
    QFont f;
    if (!face.isEmpty())
        f.setFamilies({face});
    f.setStyleHint(face.contains(QLatin1String("Times")) ? QFont::Serif : QFont::SansSerif);
    f.setPixelSize(std::max(1, -height));
    f.setWeight(QFont::Weight(weight));
    f.setItalic(italic);
    f.setUnderline(underline);
    return f;
}
} // namespace

CTrawlexQueryResultsView::CTrawlexQueryResultsView(QWidget *parent)
    : QScrollArea(parent)
{
    setObjectName(QStringLiteral("ResultsView"));
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    CreateFonts();

    m_pContent = new QWidget;
    m_pContent->setObjectName(QStringLiteral("ResultsPage"));
    m_pContent->setBackgroundRole(QPalette::Base);
    m_pContent->setAutoFillBackground(true);
    // The page is 58 rows high and exactly as wide as the pane: no horizontal scrolling.
    m_pContent->setMinimumHeight(kScrollRows * m_nLineHeight);
    setWidget(m_pContent);
    setWidgetResizable(true);
    verticalScrollBar()->setSingleStep(m_nLineHeight);
}

CTrawlexQueryResultsView::~CTrawlexQueryResultsView() = default;

void CTrawlexQueryResultsView::CreateFonts()
{
    const int dpi = logicalDpiY();
    const int h = -(8 * dpi / 72);
    const QString sans = QStringLiteral("MS Sans Serif");
    m_fontLink = MakeFont(sans, h + 1, 700, false, true);
    m_fontLinkVisited = MakeFont(sans, h + 1, 700, true, true);
    m_fontHeader = MakeFont(QStringLiteral("Times New Roman"), 1 - (12 * dpi / 72), 400, false, false);
    m_fontAddress = MakeFont(QStringLiteral("Arial"), h, 400, true, false);
    m_fontText = MakeFont(QString(), h, 400, false, false);
    m_fontButton = MakeFont(sans, h, 600, false, false);
    // The default face, at the address size: the old system font overflowed its one row.
    m_fontAddressVisited = MakeFont(QString(), h, 400, false, false);

    // The old bitmap faces rounded the small sizes up to a taller cell than today's scalable
    // faces give; a row must still hold a line of the summary text, or its third line is cut.
    const QFontMetrics fm(m_fontLink);
    // One pixel more keeps the descenders of a box's last line inside the box.
    m_nLineHeight = std::max({1, fm.height(), QFontMetrics(m_fontText).lineSpacing() + 1,
                              QFontMetrics(m_fontAddress).height()});
    m_nCharWidth = std::max(1, fm.averageCharWidth());
}

void CTrawlexQueryResultsView::setDocument(CTrawlexDoc *doc, CTrawlexQuery *query, CTrawlexQueryResults *results)
{
    DestroyPageControls();
    m_pDoc = doc;
    m_pQuery = query;
    m_pResults = results;
}

void CTrawlexQueryResultsView::DestroyPageControls()
{
    // Button clicks reach this view through queued connections, so no control is deleted
    // while it is still delivering its own signal.
    qDeleteAll(m_children);
    m_children.clear();
    delete m_pHeaderText;
    delete m_pMoreButton;
    delete m_pPreviousButton;
    delete m_pMessageText;
    m_pHeaderText = nullptr;
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

void CTrawlexQueryResultsView::ReportError(const CDaoException &e)
{
    ReportDaoError(e, m_pPrompt);
}

template <class T>
T *CTrawlexQueryResultsView::Place(T *control, const QFont *font, int left, int top, int right, int bottom)
{
    const int w = m_nCharWidth;
    const int h = m_nLineHeight;
    control->setGeometry(left * w, top * h, (right - left) * w, (bottom - top) * h);
    control->setFont(*font);
    control->setProperty("unitRect", QRect(left, top, right - left, bottom - top));
    control->show();
    return control;
}

QRect CTrawlexQueryResultsView::unitRect(const QWidget *control) const
{
    return control ? control->property("unitRect").toRect() : QRect();
}

bool CTrawlexQueryResultsView::ShowPage()
{
    DestroyPageControls();
    verticalScrollBar()->setValue(0);
    if (!m_pDoc || !m_pDoc->HasDatabase() || !m_pResults)
        return false;
    if (m_nPage < 0)
        m_nPage = 0;

    const int page = m_nPage;
    const int qid = m_pResults->m_nQID;
    // The arrays are parallel; never index past the shortest of them.
    const int hitCount = int(std::min({m_pResults->m_titles.size(), m_pResults->m_urls.size(),
                                       m_pResults->m_summaries.size()}));
    try {
        CTrawlexDatabase &db = m_pDoc->Database();
        CResultsPaging paging(db);
        const CResultsPaging::Range range = paging.PageRange(qid, page, hitCount);

        QStringList addresses;
        if (!range.pastEnd) {
            for (int i = range.start; i < range.end; ++i)
                addresses << m_pResults->m_urls.at(i);
        }
        const int maxUrl = m_pSettings ? m_pSettings->MaxURL : kDefaultMaxUrlDays;
        const QSet<QString> visited = CLinkAgeTracker(db, maxUrl).LoadVisitedLinks(addresses);

        BuildControls(page, range.start, range.end, range.pastEnd, visited);
        paging.FinishPage(qid, range);
    } catch (const CDaoException &e) {
        ReportError(e);
        return false;
    }
    ++m_nPage;
    m_pContent->update();
    return true;
}

void CTrawlexQueryResultsView::BuildControls(int page, int start, int end, bool pastEnd, const QSet<QString> &visited)
{
    int r = 1;
    int i = start;
    if (!pastEnd && start < end) {
        const QString query = m_pQuery ? m_pQuery->GetBooleanText() : QString();
        const int headerRows = page == 0 ? 3 : 4;
        m_pHeaderText = Place(new CTrawlexResultText(start, ResultsPageTexts::HeaderText(page, query), m_pContent),
                              &m_fontHeader, 2, r, 68, r + headerRows);
        r += headerRows;

        for (; i < end; ++i) {
            const QString &url = m_pResults->m_urls.at(i);
            const bool isVisited = visited.contains(url);
            const bool isNew = i < m_pResults->m_newFlags.size() && m_pResults->m_newFlags.at(i) != 0;

            auto *title = Place(new CTrawlexResultText(i, ResultsPageTexts::TitleText(m_pResults->m_titles.at(i), isNew),
                                                       m_pContent),
                                isVisited ? &m_fontLinkVisited : &m_fontLink, 2, r, 50, r + 2);
            auto *browse = Place(new CTrawlexBrowseButton(i, m_pContent), &m_fontButton, 58, r, 66, r + 1);
            connect(browse, &CTrawlexBrowseButton::browseHit, this, &CTrawlexQueryResultsView::OnBrowse,
                    Qt::QueuedConnection);
            ++r;
            auto *address = Place(new CTrawlexResultText(i, ResultsPageTexts::AddressText(url), m_pContent),
                                  isVisited ? &m_fontAddressVisited : &m_fontAddress, 2, r, 68, r + 1);
            auto *summary = Place(new CTrawlexResultText(i, m_pResults->m_summaries.at(i), m_pContent), &m_fontText,
                                  2, r + 1, 68, r + 4);
            r += 4;
            m_children << title << browse << address << summary;
        }
    }

    if (i != 0 && !pastEnd) {
        m_pMoreButton = Place(new CTrawlexMoreButton(m_pContent), &m_fontButton, 1, r, 13, r + 2);
        connect(m_pMoreButton, &QPushButton::clicked, this, &CTrawlexQueryResultsView::OnMore, Qt::QueuedConnection);
        if (page != 0) {
            m_pPreviousButton = Place(new CTrawlexPreviousButton(m_pContent), &m_fontButton, 15, r, 28, r + 2);
            connect(m_pPreviousButton, &QPushButton::clicked, this, &CTrawlexQueryResultsView::OnPrevious,
                    Qt::QueuedConnection);
        }
    } else {
        m_pMessageText = Place(new CTrawlexResultText(start, ResultsPageTexts::MessageText(pastEnd, page), m_pContent),
                               &m_fontText, 2, r, 68, r + 3);
        if (pastEnd && page != 0) {
            m_pPreviousButton = Place(new CTrawlexPreviousButton(m_pContent), &m_fontButton, 1, r + 3, 13, r + 5);
            connect(m_pPreviousButton, &QPushButton::clicked, this, &CTrawlexQueryResultsView::OnPrevious,
                    Qt::QueuedConnection);
        }
    }
}

void CTrawlexQueryResultsView::OnBrowse(int hitIndex)
{
    if (!m_pDoc || !m_pDoc->HasDatabase() || !m_pResults || hitIndex < 0 || hitIndex >= m_pResults->m_urls.size())
        return;
    const QString address = m_pResults->m_urls.at(hitIndex);
    // An address that is no web page was shown to the user instead: no visit to record.
    if (!WebPageOpener::Open(address, m_pPrompt))
        return;
    try {
        const int maxUrl = m_pSettings ? m_pSettings->MaxURL : kDefaultMaxUrlDays;
        CLinkAgeTracker(m_pDoc->Database(), maxUrl).RecordLinkVisit(address);
    } catch (const CDaoException &e) {
        ReportError(e);
        return;
    }
    --m_nPage;
    ShowPage();
}

void CTrawlexQueryResultsView::OnMore()
{
    setPageButtonsEnabled(false);
    if (!m_pDoc || !m_pDoc->HasDatabase() || !m_pResults)
        return;
    const int hitCount = int(m_pResults->m_titles.size());
    bool held = false;
    try {
        held = CResultsPaging(m_pDoc->Database()).NextPageIsHeld(m_pResults->m_nQID, m_nPage, hitCount);
    } catch (const CDaoException &e) {
        ReportError(e);
        setPageButtonsEnabled(true);
        return;
    }
    if (held) {
        ShowPage();
        return;
    }
    // The page on show stays, its buttons off, until the run completes and the page due is
    // built from the enlarged list.
    m_pResults->m_nSavedCount = hitCount;
    Q_EMIT moreResultsRequested();
    if (m_pRunMonitor && !m_pRunMonitor->StartRun(true)) {
        // The run did not start (its reason has been shown): the page must stay usable.
        setPageButtonsEnabled(true);
    }
}

void CTrawlexQueryResultsView::OnPrevious()
{
    m_nPage -= 2;
    ShowPage();
}

void CTrawlexQueryResultsView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_PageUp:
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case Qt::Key_PageDown:
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
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
    default:
        QScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CTrawlexQueryResultsView::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    // A page step is the visible height, a line step one row.
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(m_nLineHeight);
}
