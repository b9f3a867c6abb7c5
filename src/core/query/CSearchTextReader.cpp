#include "CSearchTextReader.h"

#include <QRegularExpression>

namespace {

const QString kInclude = QStringLiteral("include");
const QString kExclude = QStringLiteral("exclude");
const QString kOptional = QStringLiteral("optional");

struct Term
{
    bool isOr = false;      // the OR operator, not a word
    QString text;           // the keyword, or the filter's keyword
    QString filterType;     // empty for a keyword; "Title" or "URL"
    bool negated = false;
    bool optional = false;

    // A side an OR may join: a plain included keyword.
    bool orSide() const { return !isOr && filterType.isEmpty() && !negated; }
};

struct FilterPrefix
{
    QLatin1String prefix;
    const char *type;
};

const FilterPrefix kFilterPrefixes[] = {
    {QLatin1String("site:"), "URL"},
    {QLatin1String("inurl:"), "URL"},
    {QLatin1String("intitle:"), "Title"},
};

bool endsWord(QChar c)
{
    return c.isSpace() || c == u'(' || c == u')' || c == u'"';
}

// Parentheses and quotes are the syntax's own; inside a keyword they would read as groups
// and phrases to the engines.
QString cleanKeyword(QString text)
{
    text.replace(QLatin1Char('('), QLatin1Char(' ')).replace(QLatin1Char(')'), QLatin1Char(' '));
    text.remove(QLatin1Char('"'));
    return text.simplified();
}

// From the opening quote at i: the phrase up to the closing quote, or the rest of the text.
QString readQuoted(const QString &text, qsizetype &i, QStringList &notes)
{
    const qsizetype open = i;
    const qsizetype close = text.indexOf(QLatin1Char('"'), open + 1);
    if (close < 0) {
        i = text.size();
        const QString rest = cleanKeyword(text.mid(open + 1));
        if (!rest.isEmpty())
            notes << QStringLiteral("The quote before \"%1\" is not closed: the rest was read as one phrase.").arg(rest);
        return rest;
    }
    i = close + 1;
    return cleanKeyword(text.mid(open + 1, close - open - 1));
}

// A filter's keyword is stored after the last ":" of its entry, so a colon cannot stay in it;
// an address typed with its scheme keeps only what follows.
QString cleanFilterKeyword(const QString &prefix, QString value, QStringList &notes)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    value.remove(scheme);
    if (prefix == QLatin1String("site:")) {
        while (value.endsWith(QLatin1Char('/')))
            value.chop(1);
    }
    if (value.contains(QLatin1Char(':'))) {
        const QString read = QString(value).replace(QLatin1Char(':'), QLatin1Char(' ')).simplified();
        notes << QStringLiteral("A filter cannot hold \":\": %1%2 was read as %1%3.").arg(prefix, value, read);
        value = read;
    }
    return cleanKeyword(value);
}

QList<Term> scan(const QString &text, QStringList &notes)
{
    QList<Term> terms;
    QList<bool> parens; // per open parenthesis: whether a minus stood before it
    bool signNoted = false;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const QChar c = text.at(i);
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == u'(') {
            parens.append(false);
            ++i;
            continue;
        }
        if (c == u')') {
            // A stray closing parenthesis groups nothing.
            if (!parens.isEmpty())
                parens.removeLast();
            ++i;
            continue;
        }

        bool negated = false;
        bool signed_ = false;
        if (c == u'-' || c == u'+') {
            negated = c == u'-';
            signed_ = true;
            ++i;
            if (i >= n || text.at(i).isSpace() || text.at(i) == u')') {
                if (!signNoted)
                    notes << QStringLiteral("A \"%1\" with no word after it was left out.").arg(c);
                signNoted = true;
                continue;
            }
            if (text.at(i) == u'(') {
                if (negated)
                    notes << QStringLiteral("A minus before parentheses was read as excluding each word inside them.");
                parens.append(negated);
                ++i;
                continue;
            }
        }
        const bool underMinus = parens.contains(true);

        Term term;
        term.negated = negated || underMinus;
        if (text.at(i) == u'"') {
            term.text = readQuoted(text, i, notes);
            if (term.text.isEmpty()) {
                notes << QStringLiteral("An empty pair of quotes was left out.");
                continue;
            }
            terms.append(term);
            continue;
        }

        const qsizetype start = i;
        while (i < n && !endsWord(text.at(i)))
            ++i;
        const QString word = text.mid(start, i - start);

        if (!signed_ && word == QLatin1String("OR")) {
            term.isOr = true;
            terms.append(term);
            continue;
        }

        const FilterPrefix *filter = nullptr;
        for (const FilterPrefix &f : kFilterPrefixes) {
            if (word.startsWith(f.prefix, Qt::CaseInsensitive)) {
                filter = &f;
                break;
            }
        }
        if (!filter) {
            term.text = cleanKeyword(word);
            if (!term.text.isEmpty())
                terms.append(term);
            continue;
        }

        QString value = word.mid(filter->prefix.size());
        if (value.isEmpty() && i < n && text.at(i) == u'"')
            value = readQuoted(text, i, notes);
        value = cleanFilterKeyword(filter->prefix, value, notes);
        if (value.isEmpty()) {
            notes << QStringLiteral("\"%1\" with nothing after it was left out.").arg(filter->prefix);
            continue;
        }
        term.filterType = QLatin1String(filter->type);
        term.text = value;
        terms.append(term);
    }
    return terms;
}

// Marks the sides of every OR optional and drops the operators.
QList<Term> joinOrs(const QList<Term> &terms, QStringList &notes)
{
    int choices = 0;
    bool strayNoted = false;
    QList<Term> words;
    for (qsizetype k = 0; k < terms.size(); ++k) {
        const Term &t = terms.at(k);
        if (!t.isOr) {
            words.append(t);
            continue;
        }
        const bool joins = !words.isEmpty() && words.last().orSide() && k + 1 < terms.size()
            && terms.at(k + 1).orSide();
        if (joins) {
            if (!words.last().optional)
                ++choices;
            words.last().optional = true;
            Term next = terms.at(k + 1);
            next.optional = true;
            words.append(next);
            ++k;
        } else if (!t.negated && !strayNoted) {
            // Under a minus, an OR's sides are each excluded: that is what it meant.
            notes << QStringLiteral("\"OR\" needs a plain word on each side; where it had none it was left out.");
            strayNoted = true;
        }
    }
    if (choices > 1)
        notes << QStringLiteral("Only one choice can be asked: every word joined by OR was read as one choice.");
    return words;
}

QString qualifierOf(const Term &t)
{
    if (t.negated)
        return kExclude;
    return t.optional ? kOptional : kInclude;
}

} // namespace

CSearchTextReader::Reading CSearchTextReader::Read(const QString &text)
{
    Reading reading;
    const QList<Term> terms = joinOrs(scan(text, reading.notes), reading.notes);

    CTrawlexQuery &query = reading.query;
    for (const Term &t : terms) {
        const QString qualifier = qualifierOf(t);
        QString earlier;
        if (t.filterType.isEmpty()) {
            for (const CTrawlexKeyword &k : std::as_const(query.m_keywords)) {
                if (k.m_strKeyword.compare(t.text, Qt::CaseInsensitive) == 0)
                    earlier = k.m_strQualifier;
            }
            if (earlier.isEmpty())
                query.m_keywords.append({t.text, qualifier});
        } else {
            for (const CTrawlexFilter &f : std::as_const(query.m_filters)) {
                if (f.m_strType == t.filterType && f.m_strKeyword.compare(t.text, Qt::CaseInsensitive) == 0)
                    earlier = f.m_strQualifier;
            }
            if (earlier.isEmpty())
                query.m_filters.append({qualifier, t.filterType, t.text});
        }
        // A repeat that asks the same is simply one; one that contradicts is named.
        if (!earlier.isEmpty() && earlier != qualifier)
            reading.notes << QStringLiteral("\"%1\" was given twice; it was read as first written.").arg(t.text);
    }
    return reading;
}

QString CSearchTextReader::QueryName(const QString &text)
{
    const QString name = text.simplified();
    if (name.size() <= kMaxNameLength)
        return name;
    qsizetype cut = name.lastIndexOf(QLatin1Char(' '), kMaxNameLength);
    if (cut <= 0) {
        cut = kMaxNameLength;
        // Never half a character.
        if (name.at(cut - 1).isHighSurrogate())
            --cut;
    }
    return name.left(cut) + QStringLiteral("...");
}
