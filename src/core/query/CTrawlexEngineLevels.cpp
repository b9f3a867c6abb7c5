#include "CTrawlexEngineLevels.h"

namespace {

QString itemHead(const QString &engine)
{
    return QLatin1Char('#') + engine + QLatin1Char('#');
}

} // namespace

void CTrawlexEngineLevels::Update()
{
    for (const QString &engine : std::as_const(reported)) {
        if (failed.contains(engine))
            continue;
        const QString head = itemHead(engine);
        // Searching for the whole "#name#" (not the bare name) keeps "HotBot" from matching
        // inside "#HotBotRepeat#".
        const qsizetype start = text.indexOf(head);
        if (start < 0) {
            text += head + (exhausted.contains(engine) ? QLatin1String("@-1@") : QLatin1String("@1@"));
            continue;
        }
        const qsizetype afterHead = start + head.size();
        const qsizetype open = text.indexOf(QLatin1Char('@'), afterHead);
        qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char('@'), open + 1);
        int counter = 0;
        QString rest;
        if (open >= 0 && close >= 0) {
            counter = QStringView(text).mid(open + 1, close - open - 1).toInt();
            rest = text.mid(close + 1);
        }
        // An engine whose pages have run out keeps its count as a negative number, so later
        // passes do not ask it again; the seven never run out.
        int next = counter + 1;
        if (counter < 0)
            next = counter;
        else if (exhausted.contains(engine))
            next = -next;
        text = text.left(afterHead) + QLatin1Char('@') + QString::number(next) + QLatin1Char('@') + rest;
    }
    if (text.isEmpty())
        text = QStringLiteral(" ");
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
