#include "CTrawlexQueryResults.h"

#include <algorithm>
#include <utility>

namespace {

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

} // namespace

void CTrawlexQueryResults::ResetForNewRun(bool updating)
{
    m_nQID = -1;
    m_nHitsReceived = 0;
    // An update keeps the hits it already has; the ones it finds are marked new.
    if (!updating)
        SetHits({});
    m_strYahooPath.clear();
    m_levels = {};
}

void CTrawlexQueryResults::ResetForNextPass(bool updating)
{
    if (!updating)
        m_nQID = -1;
    m_nHitsReceived = 0;
    m_levels = {m_levels.text, {}, {}, {}}; // the counters stay
}

void CTrawlexQueryResults::RebuildUrlIndex()
{
    m_urlIndex.clear();
    m_urlOverflow.clear();
    m_urlIndex.reserve(m_hits.size());
    for (qsizetype i = 0; i < m_hits.size(); ++i)
        IndexInsert(foldedHash(m_hits.at(i).url), i);
}

qsizetype CTrawlexQueryResults::IndexFind(size_t key, const QString &url) const
{
    const auto first = m_urlIndex.constFind(key);
    if (first == m_urlIndex.cend())
        return -1;
    if (m_hits.at(first.value()).url.compare(url, Qt::CaseInsensitive) == 0)
        return first.value();
    for (auto it = m_urlOverflow.constFind(key); it != m_urlOverflow.cend() && it.key() == key; ++it) {
        if (m_hits.at(it.value()).url.compare(url, Qt::CaseInsensitive) == 0)
            return it.value();
    }
    return -1;
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
    const size_t key = foldedHash(url);
    const qsizetype held = IndexFind(key, url);
    if (held >= 0) {
        // The same page from another engine: the hit stays as first found, and says so.
        QStringList &found = m_hits[held].engines;
        if (!engine.isEmpty() && !found.contains(engine, Qt::CaseInsensitive))
            found.append(engine);
        return;
    }
    IndexInsert(key, m_hits.size());
    m_hits.append({title, url, summary, bNew, engine.isEmpty() ? QStringList() : QStringList{engine}});
}

QStringList CTrawlexQueryResults::engines(int hit) const
{
    return m_hits.value(hit).engines;
}

void CTrawlexQueryResults::SetHits(QList<CTrawlexHit> hits)
{
    m_hits = std::move(hits);
    RebuildUrlIndex();
}

void CTrawlexQueryResults::MoveHitsToFront(int firstNew)
{
    const int count = HitCount();
    firstNew = std::clamp(firstNew, 0, count);
    std::rotate(m_hits.begin(), m_hits.begin() + firstNew, m_hits.end());
    for (int i = 0; i < count - firstNew; ++i)
        m_hits[i].isNew = true;
    RebuildUrlIndex();
}

void CTrawlexQueryResults::ClearNewFlags()
{
    for (CTrawlexHit &hit : m_hits)
        hit.isNew = false;
}

const QString &CTrawlexQueryResults::StoredSummary(int hit)
{
    return m_hits[hit].summary = ShortenSummary(m_hits.at(hit).summary);
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
