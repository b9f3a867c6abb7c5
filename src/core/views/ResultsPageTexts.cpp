#include "ResultsPageTexts.h"

namespace {
QString Shorten(const QString &text, int maxLength)
{
    if (text.size() <= maxLength)
        return text;
    // Never cut between the halves of a surrogate pair.
    int cut = maxLength;
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + QStringLiteral("...");
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

} // namespace ResultsPageTexts
