#include "QueryWords.h"

QStringList SplitQueryWords(const QString &booleanText)
{
    QStringList words;
    QString current;
    for (const QChar c : booleanText) {
        if (c == u'\r' || c == u'\n' || c == u' ') {
            if (!current.isEmpty()) {
                const QString word = current.trimmed();
                if (!word.isEmpty())
                    words.append(word);
                current.clear();
            }
        } else {
            current.append(c);
        }
    }
    // A query that is one filter alone: its leading operator means nothing to an engine.
    if (words.size() == 2 && words.at(0) == QLatin1String("and") && words.at(1).contains(u':'))
        words.removeFirst();
    return words;
}
