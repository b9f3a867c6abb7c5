#include "ResultsPageTexts.h"

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

} // namespace ResultsPageTexts
