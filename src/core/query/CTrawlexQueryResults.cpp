#include "CTrawlexQueryResults.h"

#include "CTrawlexQuery.h"
#include "app/IUserPrompt.h"
#include "store/CDaoException.h"
#include "store/CDefinitionTables.h"
#include "store/CMainQueryTable.h"
#include "store/CResultTables.h"
#include "store/CSearchEngineTable.h"
#include "store/CTrawlexDatabase.h"
#include "store/CTrawlexDoc.h"

#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {

const QString kYahoo = QStringLiteral("Yahoo");
// Jet's "No current record.": what reading a row that is not there has always reported.
constexpr int kNoCurrentRecord = 3021;

// FNV-1a over the case-folded code points: equal for texts that compare equal with
// Qt::CaseInsensitive, without building the folded text.
size_t foldedHash(QStringView text)
{
    size_t hash = 14695981039346656037ULL;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        char32_t c = text[i].unicode();
        if (c < 0x80) {
            if (c >= 'A' && c <= 'Z')
                c += 'a' - 'A';
        } else {
            if (QChar::isHighSurrogate(c) && i + 1 < size && text[i + 1].isLowSurrogate())
                c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
            c = QChar::toCaseFolded(c);
        }
        hash = (hash ^ c) * 1099511628211ULL;
    }
    return hash;
}

QString itemHead(const QString &engine)
{
    return QLatin1Char('#') + engine + QLatin1Char('#');
}

} // namespace

void CTrawlexQueryResults::ClearHits()
{
    m_titles.clear();
    m_urls.clear();
    m_summaries.clear();
    m_newFlags.clear();
    m_hitEngines.clear();
    m_urlIndex.clear();
    m_urlOverflow.clear();
    m_nIndexedCount = 0;
}

void CTrawlexQueryResults::ResetForNewRun(const CTrawlexDoc &doc)
{
    m_nQID = -1;
    m_nHitsReceived = 0;
    // An update keeps the hits it already has; the ones it finds are marked new.
    if (doc.UpdateQID == -1)
        ClearHits();
    m_strYahooPath.clear();
    m_strEngineLevels.clear();
    m_reportedEngines.clear();
    m_failedEngines.clear();
    m_exhaustedEngines.clear();
}

void CTrawlexQueryResults::ResetForNextPass(const CTrawlexDoc &doc)
{
    if (doc.UpdateQID == -1)
        m_nQID = -1;
    m_nHitsReceived = 0;
    m_reportedEngines.clear();
    m_failedEngines.clear();
    m_exhaustedEngines.clear();
}

void CTrawlexQueryResults::RebuildUrlIndex()
{
    m_urlIndex.clear();
    m_urlOverflow.clear();
    m_urlIndex.reserve(m_urls.size());
    for (qsizetype i = 0; i < m_urls.size(); ++i)
        IndexInsert(foldedHash(m_urls.at(i)), i);
    m_nIndexedCount = m_urls.size();
}

qsizetype CTrawlexQueryResults::IndexFind(size_t key, const QString &url) const
{
    const auto first = m_urlIndex.constFind(key);
    if (first == m_urlIndex.cend())
        return -1;
    if (m_urls.at(first.value()).compare(url, Qt::CaseInsensitive) == 0)
        return first.value();
    for (auto it = m_urlOverflow.constFind(key); it != m_urlOverflow.cend() && it.key() == key; ++it) {
        if (m_urls.at(it.value()).compare(url, Qt::CaseInsensitive) == 0)
            return it.value();
    }
    return -1;
}

void CTrawlexQueryResults::FitToHitCount()
{
    const qsizetype count = m_urls.size();
    if (m_newFlags.size() != count)
        m_newFlags.resize(count, 0);
    if (m_hitEngines.size() != count)
        m_hitEngines.resize(count);
}

void CTrawlexQueryResults::IndexInsert(size_t key, qsizetype index)
{
    if (m_urlIndex.contains(key))
        m_urlOverflow.insert(key, index);
    else
        m_urlIndex.insert(key, index);
}

void CTrawlexQueryResults::AddResult(const QString &title, const QString &url, const QString &summary, bool bNew,
                                     const QString &engine)
{
    ++m_nHitsReceived;
    // Someone changed the arrays behind our back (a reorder keeps the count and the set).
    if (m_nIndexedCount != m_urls.size())
        RebuildUrlIndex();
    FitToHitCount();
    const size_t key = foldedHash(url);
    const qsizetype held = IndexFind(key, url);
    if (held >= 0) {
        // The same page from another engine: the hit stays as first found, and says so.
        QStringList &found = m_hitEngines[held];
        if (!engine.isEmpty() && !found.contains(engine, Qt::CaseInsensitive))
            found.append(engine);
        return;
    }
    IndexInsert(key, m_urls.size());
    m_urls.append(url);
    m_titles.append(title);
    m_summaries.append(summary);
    m_newFlags.append(bNew ? 1 : 0);
    m_hitEngines.append(engine.isEmpty() ? QStringList() : QStringList{engine});
    m_nIndexedCount = m_urls.size();
}

void CTrawlexQueryResults::AddResult(const CTrawlexDoc &doc, const QString &title, const QString &url,
                                     const QString &summary, const QString &engine)
{
    AddResult(title, url, summary, doc.UpdateQID != -1, engine);
}

QStringList CTrawlexQueryResults::engines(int hit) const
{
    if (hit < 0 || hit >= HitCount())
        return {};
    return m_hitEngines.value(hit);
}

void CTrawlexQueryResults::MoveHitsToFront(int firstNew)
{
    FitToHitCount();
    const int count = HitCount();
    firstNew = std::clamp(firstNew, 0, count);
    auto rotate = [firstNew](auto &list) { std::rotate(list.begin(), list.begin() + firstNew, list.end()); };
    rotate(m_titles);
    rotate(m_urls);
    rotate(m_summaries);
    rotate(m_newFlags);
    rotate(m_hitEngines);
    for (int i = 0; i < count - firstNew; ++i)
        m_newFlags[i] = 1;
    RebuildUrlIndex();
}

void CTrawlexQueryResults::UpdateEngineLevels()
{
    for (const QString &engine : std::as_const(m_reportedEngines)) {
        if (m_failedEngines.contains(engine))
            continue;
        const QString head = itemHead(engine);
        // Searching for the whole "#name#" (not the bare name) keeps "HotBot" from matching
        // inside "#HotBotRepeat#".
        const qsizetype start = m_strEngineLevels.indexOf(head);
        if (start < 0) {
            m_strEngineLevels += head + (m_exhaustedEngines.contains(engine) ? QLatin1String("@-1@") : QLatin1String("@1@"));
            continue;
        }
        const qsizetype afterHead = start + head.size();
        const qsizetype open = m_strEngineLevels.indexOf(QLatin1Char('@'), afterHead);
        qsizetype close = open < 0 ? -1 : m_strEngineLevels.indexOf(QLatin1Char('@'), open + 1);
        int counter = 0;
        QString rest;
        if (open >= 0 && close >= 0) {
            counter = QStringView(m_strEngineLevels).mid(open + 1, close - open - 1).toInt();
            rest = m_strEngineLevels.mid(close + 1);
        }
        // An engine whose pages have run out keeps its count as a negative number, so later
        // passes do not ask it again; the seven never run out.
        int next = counter + 1;
        if (counter < 0)
            next = counter;
        else if (m_exhaustedEngines.contains(engine))
            next = -next;
        m_strEngineLevels = m_strEngineLevels.left(afterHead) + QLatin1Char('@') + QString::number(next)
                            + QLatin1Char('@') + rest;
    }
    if (m_strEngineLevels.isEmpty())
        m_strEngineLevels = QStringLiteral(" ");
}

int GetPageCounter(const QString &engine, const QString &engineLevels)
{
    const QString head = itemHead(engine);
    const qsizetype start = engineLevels.indexOf(head);
    if (start < 0)
        return 0;
    const qsizetype open = engineLevels.indexOf(QLatin1Char('@'), start + head.size());
    if (open < 0)
        return 0;
    qsizetype close = engineLevels.indexOf(QLatin1Char('@'), open + 1);
    if (close < 0)
        close = engineLevels.size();
    return QStringView(engineLevels).mid(open + 1, close - open - 1).toInt();
}

QString CTrawlexQueryResults::ShortenSummary(const QString &summary)
{
    // Count characters, not UTF-16 units: a pair of surrogates is one character.
    qsizetype end = 0;
    int count = 0;
    while (end < summary.size() && count < kMaxSummaryLength) {
        if (summary.at(end).isHighSurrogate() && end + 1 < summary.size() && summary.at(end + 1).isLowSurrogate())
            end += 2;
        else
            ++end;
        ++count;
    }
    if (end >= summary.size())
        return summary;
    const qsizetype blank = summary.lastIndexOf(QLatin1Char(' '), end - 1);
    if (blank < 0)
        return QStringLiteral("...");
    return summary.left(blank) + QLatin1String("...");
}

bool CTrawlexQueryResults::SaveQueryAndResults(CTrawlexDoc &doc, const CTrawlexQuery &query, IUserPrompt *prompt,
                                               int replacedQid)
{
    // What a failed save must give back, so that memory keeps agreeing with the file.
    const int qidBefore = m_nQID;
    const int overwriteBefore = doc.OverwriteQID;
    const QString levelsBefore = m_strEngineLevels;

    UpdateEngineLevels();

    try {
        if (!doc.HasDatabase())
            throw CDaoException(kNoCurrentRecord, QStringLiteral("SaveQueryAndResults"),
                                QStringLiteral("No database is open."));
        CTrawlexDatabase &db = doc.Database();
        CMainQueryTable mainQueries(db);
        CResultTables results(db);
        CDbTransaction transaction(db);

        // A first pass stores the whole definition. So does a later pass whose first save
        // failed: its hits would otherwise have no query to belong to.
        if (m_nLevel == 1 || m_nQID == -1) {
            CSearchEngineTable engines(db);
            CDefinitionTables definitions(db);

            if (doc.OverwriteQID != -1) {
                mainQueries.deleteQuery(doc.OverwriteQID);
                doc.OverwriteQID = -1;
            }
            m_nQID = mainQueries.insertQuery(query.m_strName);
            mainQueries.setLevel(m_nQID, m_nLevel);
            mainQueries.setEngineLevels(m_nQID, m_strEngineLevels);

            for (const QString &engine : query.m_engines) {
                const int sid = engines.engineSid(engine);
                if (sid < 0)
                    throw CDaoException(kNoCurrentRecord, QStringLiteral("[Search Engine] ") + engine,
                                        QStringLiteral("No current record."));
                engines.insertQueryEngine(m_nQID, sid);
            }
            for (const CTrawlexFilter &f : query.m_filters) {
                const int fid = definitions.insertFilter(m_nQID, f.m_strType);
                definitions.insertFilterWord(m_nQID, fid, f.m_strQualifier, f.m_strKeyword);
            }
            for (const CTrawlexKeyword &k : query.m_keywords) {
                const int kid = definitions.insertKeyword(m_nQID);
                definitions.insertKeywordWord(m_nQID, kid, k.m_strQualifier, k.m_strKeyword);
            }
            for (const CTrawlexGroup &g : query.m_groups) {
                const int gid = definitions.insertGroup(m_nQID, g.m_strQualifier, g.m_strName);
                for (const CTrawlexKeyword &m : g.m_members)
                    definitions.insertGroupWord(m_nQID, gid, m.m_strQualifier, m.m_strKeyword);
            }
        } else {
            mainQueries.setLevel(m_nQID, m_nLevel);
            mainQueries.setEngineLevels(m_nQID, m_strEngineLevels);
        }

        if (m_reportedEngines.contains(kYahoo)) {
            results.deleteYahoo(m_nQID);
            results.insertYahoo(m_nQID, m_strYahooPath);
        }

        results.deleteResults(m_nQID);
        FitToHitCount();
        const bool updating = doc.UpdateQID != -1;
        for (qsizetype i = 0; i < m_urls.size(); ++i) {
            m_summaries[i] = ShortenSummary(m_summaries.at(i));
            const QString &summary = m_summaries.at(i);
            const bool isNew = updating && i >= doc.UpdateFirstNew;
            results.insertResult(m_nQID, m_titles.at(i), m_urls.at(i),
                                 summary.isEmpty() ? QStringLiteral(" ") : summary, isNew, m_hitEngines.value(i));
        }
        if (replacedQid != -1 && replacedQid != m_nQID)
            mainQueries.deleteQuery(replacedQid);
        transaction.commit();
    } catch (const CDaoException &e) {
        m_nQID = qidBefore;
        doc.OverwriteQID = overwriteBefore;
        m_strEngineLevels = levelsBefore;
        const QString message = QStringLiteral("Error!  Failed to insert Query Results");
        if (prompt) {
            prompt->showMessage(message);
        } else {
            QTextStream err(stderr);
            err << message << '\n' << e.ReportText() << '\n';
        }
        return false;
    }
    return true;
}

void CTrawlexQueryResults::LoadStoredResults(const CTrawlexDoc &doc, int qid)
{
    ResetForNewRun(doc);
    CTrawlexDatabase &db = doc.Database();
    CMainQueryTable mainQueries(db);
    CResultTables results(db);
    CSearchEngineTable engines(db);

    const std::optional<CMainQueryTable::LevelInfo> info = mainQueries.levelAndEngineLevels(qid);
    if (!info)
        throw CDaoException(kNoCurrentRecord, QStringLiteral("[Main Query] levels"),
                            QStringLiteral("No current record."));
    m_nLevel = info->level;
    m_strEngineLevels = info->engineLevels;

    const QList<CResultTables::Result> rows = results.results(qid);
    FitToHitCount();
    const qsizetype total = m_urls.size() + rows.size();
    QStringList titles, urls, summaries;
    QList<int> flags;
    QList<QStringList> hitEngines;
    titles.reserve(total);
    urls.reserve(total);
    summaries.reserve(total);
    flags.reserve(total);
    hitEngines.reserve(total);
    // New hits first, each side keeping its order; hits kept by an update count too.
    for (int pass = 1; pass >= 0; --pass) {
        for (qsizetype i = 0; i < m_urls.size(); ++i) {
            if ((m_newFlags.at(i) != 0) == (pass == 1)) {
                titles.append(m_titles.at(i));
                urls.append(m_urls.at(i));
                summaries.append(m_summaries.at(i));
                flags.append(m_newFlags.at(i));
                hitEngines.append(m_hitEngines.value(i));
            }
        }
        for (const CResultTables::Result &r : rows) {
            if (r.isNew == (pass == 1)) {
                titles.append(r.title);
                urls.append(r.url);
                summaries.append(r.summary);
                flags.append(r.isNew ? 1 : 0);
                hitEngines.append(r.engines);
            }
        }
    }
    m_titles = std::move(titles);
    m_urls = std::move(urls);
    m_summaries = std::move(summaries);
    m_newFlags = std::move(flags);
    m_hitEngines = std::move(hitEngines);
    RebuildUrlIndex();

    for (int sid : engines.queryEngineSids(qid)) {
        if (engines.engineName(sid) == kYahoo) {
            // A query whose Yahoo never reported has no row: it simply has no path yet.
            m_strYahooPath = results.yahooPath(qid);
            break;
        }
    }
}
