#include "CResultsPageModel.h"

#include "app/CTrawlexSettings.h"
#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "store/CDaoException.h"
#include "store/CTrawlexDoc.h"
#include "views/CLinkAgeTracker.h"
#include "views/HitOriginText.h"
#include "views/ResultsPageTexts.h"

#include <QSet>
#include <QStringList>

namespace {
constexpr int kDefaultMaxUrlDays = 7;
} // namespace

CResultsPageModel::CResultsPageModel(CTrawlexDoc &doc, const CTrawlexSettings *settings, IUserPrompt *prompt)
    : m_pDoc(&doc)
    , m_pQuery(&doc.Query())
    , m_pResults(&doc.ResultsSet())
    , m_pSettings(settings)
    , m_pPrompt(prompt)
{
}

void CResultsPageModel::setDocument(CTrawlexDoc *doc, const CTrawlexQuery *query, const CTrawlexQueryResults *results)
{
    m_pDoc = doc;
    m_pQuery = query;
    m_pResults = results;
}

bool CResultsPageModel::isReady() const
{
    return m_pDoc && m_pDoc->HasDatabase() && m_pResults;
}

int CResultsPageModel::queryId() const
{
    return m_pResults ? m_pResults->Qid() : -1;
}

int CResultsPageModel::askedEngineCount() const
{
    if (!m_pQuery)
        return 0;
    QStringList asked;
    m_pQuery->GetEngines(asked);
    return int(asked.size());
}

int CResultsPageModel::hitCount() const
{
    return m_pResults ? m_pResults->HitCount() : 0;
}

std::optional<QString> CResultsPageModel::address(int hitIndex) const
{
    if (!m_pResults || hitIndex < 0 || hitIndex >= m_pResults->HitCount())
        return std::nullopt;
    return m_pResults->Hits().at(hitIndex).url;
}

QString CResultsPageModel::title(int hitIndex) const
{
    return m_pResults ? m_pResults->Hits().value(hitIndex).title : QString();
}

bool CResultsPageModel::hitMatchesFilter(int hitIndex, const QString &filter) const
{
    if (!m_pResults)
        return false;
    const CTrawlexHit hit = m_pResults->Hits().value(hitIndex);
    return ResultsPageTexts::HitMatchesFilter(hit.title, hit.url, hit.summary, filter);
}

int CResultsPageModel::maxUrlDays() const
{
    return m_pSettings ? m_pSettings->MaxURL : kDefaultMaxUrlDays;
}

bool CResultsPageModel::Guarded(const std::function<void()> &step, const BeforeReport &beforeReport)
{
    try {
        step();
    } catch (const CDaoException &e) {
        if (beforeReport)
            beforeReport();
        ReportDaoError(e, m_pPrompt);
        return false;
    }
    return true;
}

std::optional<CResultsPageModel::Page> CResultsPageModel::page(int pageIndex, const BeforeReport &beforeReport)
{
    if (!isReady())
        return std::nullopt;
    const CTrawlexQueryResults &results = *m_pResults;
    Page p;
    p.qid = results.Qid();
    p.totalHits = results.HitCount();
    QSet<QString> visited;
    const bool read = Guarded(
        [&] {
            CTrawlexDatabase &db = m_pDoc->Database();
            p.range = CResultsPaging(db).PageRange(p.qid, pageIndex, p.totalHits);
            QStringList addresses;
            if (!p.range.pastEnd) {
                for (int i = p.range.start; i < p.range.end; ++i)
                    addresses << results.Hits().at(i).url;
            }
            visited = CLinkAgeTracker(db, maxUrlDays()).LoadVisitedLinks(addresses);
        },
        beforeReport);
    if (!read)
        return std::nullopt;

    const CResultsPaging::Range &r = p.range;
    int last = r.start;
    if (!r.pastEnd && r.start < r.end) {
        p.headerText = ResultsPageTexts::HeaderText(pageIndex, m_pQuery ? m_pQuery->GetBooleanText() : QString());
        for (int i = r.start; i < r.end; ++i) {
            Hit hit;
            hit.index = i;
            const CTrawlexHit &held = results.Hits().at(i);
            hit.title = held.title;
            hit.address = held.url;
            hit.summary = held.summary;
            hit.titleText = ResultsPageTexts::TitleText(hit.title, held.isNew);
            hit.addressText = ResultsPageTexts::AddressText(hit.address);
            hit.originText = HitOriginText::OriginText(held.engines);
            hit.visited = visited.contains(hit.address);
            p.hits << hit;
        }
        last = r.end;
    }
    p.hasMore = last != 0 && !r.pastEnd;
    if (p.hasMore) {
        p.hasPrevious = pageIndex != 0;
    } else {
        p.messageText = ResultsPageTexts::MessageText(r.pastEnd, pageIndex);
        p.hasPrevious = r.pastEnd && pageIndex != 0;
    }
    return p;
}

bool CResultsPageModel::finishPage(const Page &page, const BeforeReport &beforeReport)
{
    if (!isReady())
        return false;
    return Guarded([&] { CResultsPaging(m_pDoc->Database()).FinishPage(page.qid, page.range); }, beforeReport);
}

bool CResultsPageModel::recordVisit(const QString &address)
{
    if (!isReady())
        return false;
    return Guarded([&] { CLinkAgeTracker(m_pDoc->Database(), maxUrlDays()).RecordLinkVisit(address); });
}

std::optional<bool> CResultsPageModel::nextPageIsHeld(int pageIndex)
{
    if (!isReady())
        return std::nullopt;
    bool held = false;
    if (!Guarded([&] { held = CResultsPaging(m_pDoc->Database()).NextPageIsHeld(queryId(), pageIndex, hitCount()); }))
        return std::nullopt;
    return held;
}
