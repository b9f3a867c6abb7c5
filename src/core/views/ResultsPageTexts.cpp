#include "ResultsPageTexts.h"

#include <QRegularExpression>

#include <algorithm>

namespace {
QString Shorten(const QString &text, int maxLength)
{
    // Lengths count characters, so a pair of surrogates is one and is never split.
    qsizetype units = 0;
    for (int count = 0; units < text.size() && count < maxLength; ++count) {
        const bool pair = text.at(units).isHighSurrogate() && units + 1 < text.size()
            && text.at(units + 1).isLowSurrogate();
        units += pair ? 2 : 1;
    }
    if (units >= text.size())
        return text;
    return text.left(units) + QStringLiteral("...");
}
} // namespace

namespace ResultsPageTexts {

QString HeaderText(int page, const QString &booleanText)
{
    QString text;
    if (page > 0)
        text = QStringLiteral("Page %1  \n").arg(page + 1);
    QString query = booleanText;
    query.replace(QLatin1Char('\r'), QLatin1Char(' '));
    query.remove(QLatin1Char('\n'));
    return text + QStringLiteral("Query:  ") + query;
}

QString TitleText(const QString &title, bool isNew)
{
    const QString shown = Shorten(title, kMaxTitleLength);
    return isNew ? QStringLiteral("**") + shown : shown;
}

QString AddressText(const QString &address)
{
    return Shorten(address, kMaxAddressLength);
}

QString MessageText(bool pastEnd, int page)
{
    if (pastEnd && page != 0)
        return QStringLiteral("No more results.");
    return QStringLiteral("No Documents were found to match this query.");
}

QString RunSummaryText(int firstHit, int shownCount, int totalHits, int engineCount,
                       const QStringList &failedEngines)
{
    QString text;
    if (totalHits <= 0)
        text = QStringLiteral("No hits");
    else if (shownCount <= 0)
        text = QStringLiteral("No more hits; %1 in all").arg(totalHits);
    else if (shownCount == 1)
        text = QStringLiteral("Hit %1 of %2").arg(firstHit + 1).arg(totalHits);
    else
        text = QStringLiteral("Hits %1\u2013%2 of %3").arg(firstHit + 1).arg(firstHit + shownCount).arg(totalHits);
    if (engineCount == 1)
        text += QStringLiteral(" from 1 engine");
    else if (engineCount > 1)
        text += QStringLiteral(" from %1 engines").arg(engineCount);
    if (!failedEngines.isEmpty())
        text += QStringLiteral("; failed: ") + failedEngines.join(QStringLiteral(", "));
    return text;
}

bool HitMatchesFilter(const QString &title, const QString &address, const QString &summary,
                      const QString &filter)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList words = filter.split(blanks, Qt::SkipEmptyParts);
    return std::all_of(words.cbegin(), words.cend(), [&](const QString &word) {
        return title.contains(word, Qt::CaseInsensitive) || address.contains(word, Qt::CaseInsensitive)
            || summary.contains(word, Qt::CaseInsensitive);
    });
}

QString FilterNoMatchText()
{
    return QStringLiteral("No hits on this page match");
}

QString TitleAndAddressText(const QString &title, const QString &address)
{
    return title + QLatin1Char('\n') + address;
}

} // namespace ResultsPageTexts
