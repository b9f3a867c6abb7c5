#pragma once

#include "views/CResultsPaging.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class CTrawlexDoc;
class CTrawlexQuery;
class CTrawlexQueryResults;
class CTrawlexSettings;
class IUserPrompt;

// The results page of ten as the results view shows it: which hits, their texts, which were
// visited, the header and what stands under the hits. It reads the results set on show and
// the database; the view only lays the page out. A database failure is reported once
// through the prompt (stderr without one) and gives no answer.
class CResultsPageModel final
{
public:
    struct Hit
    {
        int index = -1;
        // As held: the tool tip, the clipboard and Browse take them whole.
        QString title;
        QString address;
        QString summary;
        // As shown: shortened, "**" before a hit an update added.
        QString titleText;
        QString addressText;
        // "From ..."; empty when the engines are not known (older files).
        QString originText;
        bool visited = false;
    };

    struct Page
    {
        int qid = -1;
        CResultsPaging::Range range;
        // The hits held, of which the page shows range.hitCount().
        int totalHits = 0;
        // Empty on a page without hits.
        QString headerText;
        QList<Hit> hits;
        // "More" under the hits, or else messageText; "Previous" on later pages.
        bool hasMore = false;
        QString messageText;
        bool hasPrevious = false;
    };

    // Run on a failure just before it is reported, so the page can be laid out first.
    using BeforeReport = std::function<void()>;

    CResultsPageModel() = default;
    // Over the document's own query and results set. The objects must outlive the model.
    CResultsPageModel(CTrawlexDoc &doc, const CTrawlexSettings *settings, IUserPrompt *prompt);

    void setDocument(CTrawlexDoc *doc, const CTrawlexQuery *query, const CTrawlexQueryResults *results);
    // MaxURL, read at every use; without settings visits last 7 days.
    void setSettings(const CTrawlexSettings *settings) { m_pSettings = settings; }
    void setPrompt(IUserPrompt *prompt) { m_pPrompt = prompt; }

    bool hasResults() const { return m_pResults != nullptr; }
    // An open database and a results set: pages can be built.
    bool isReady() const;
    // The QID of the hits on show; -1 without results.
    int queryId() const;
    // How many engines the query asks.
    int askedEngineCount() const;
    // The hits held, as More counts them.
    int hitCount() const;

    // One hit's texts; an address only for a hit that exists.
    std::optional<QString> address(int hitIndex) const;
    QString title(int hitIndex) const;
    bool hitMatchesFilter(int hitIndex, const QString &filter) const;

    // Page pageIndex of the hits held, its limits stored the first time it is built. No page
    // when not ready, or (reported) on a database failure.
    std::optional<Page> page(int pageIndex, const BeforeReport &beforeReport = {});
    // After the page is shown: sets Done when the page ended the list.
    bool finishPage(const Page &page, const BeforeReport &beforeReport = {});
    // Marks the address visited now.
    bool recordVisit(const QString &address);
    // More on the page before pageIndex: whether the next page can be built from the hits
    // held (true) or the engines must be asked first (false).
    std::optional<bool> nextPageIsHeld(int pageIndex);

private:
    int maxUrlDays() const;
    // Runs step; a database failure runs beforeReport, is reported and gives false.
    bool Guarded(const std::function<void()> &step, const BeforeReport &beforeReport = {});

    CTrawlexDoc *m_pDoc = nullptr;
    const CTrawlexQuery *m_pQuery = nullptr;
    const CTrawlexQueryResults *m_pResults = nullptr;
    const CTrawlexSettings *m_pSettings = nullptr;
    IUserPrompt *m_pPrompt = nullptr;
};
