#include "WebQueryText.h"

#include "query/CTrawlexQuery.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

const QString kInclude = QStringLiteral("include");
const QString kExclude = QStringLiteral("exclude");
const QString kOptional = QStringLiteral("optional");

// A keyword as one term: several words become a phrase; quotes inside it cannot be sent.
QString term(const QString &keyword)
{
    QString k = keyword.simplified();
    k.remove(QLatin1Char('"'));
    if (k.contains(QLatin1Char(' ')))
        return QLatin1Char('"') + k + QLatin1Char('"');
    return k;
}

// Included terms, excluded terms as -term, and the optional ones as one OR of all of them.
// A single optional term is asked as it is: an OR needs two sides.
QString combine(const QStringList &included, const QStringList &excluded, const QStringList &optional)
{
    QStringList parts = included;
    if (optional.size() == 1)
        parts << optional.first();
    else if (optional.size() > 1)
        parts << QLatin1Char('(') + optional.join(QLatin1String(" OR ")) + QLatin1Char(')');
    for (const QString &e : excluded)
        parts << QLatin1Char('-') + e;
    return parts.join(QLatin1Char(' '));
}

void sortInto(const QString &qualifier, const QString &text, QStringList &included, QStringList &excluded,
              QStringList &optional)
{
    if (text.isEmpty())
        return;
    if (qualifier == kInclude)
        included << text;
    else if (qualifier == kExclude)
        excluded << text;
    else if (qualifier == kOptional)
        optional << text;
}

bool looksLikeHost(const QString &word)
{
    return word.contains(QLatin1Char('.')) && !word.contains(QLatin1Char('/')) && !word.contains(QLatin1Char(' '));
}

} // namespace

QString WebQueryText::compose(const CTrawlexQuery &query, Operators operators)
{
    QStringList included, excluded, optional;
    for (const CTrawlexKeyword &k : query.m_keywords)
        sortInto(k.m_strQualifier, term(k.m_strKeyword), included, excluded, optional);

    for (const CTrawlexGroup &g : query.m_groups) {
        QStringList in, ex, opt;
        for (const CTrawlexKeyword &m : g.m_members)
            sortInto(m.m_strQualifier, term(m.m_strKeyword), in, ex, opt);
        const QString inner = combine(in, ex, opt);
        if (inner.isEmpty())
            continue;
        sortInto(g.m_strQualifier, QLatin1Char('(') + inner + QLatin1Char(')'), included, excluded, optional);
    }

    for (const CTrawlexFilter &f : query.m_filters) {
        const QString word = term(f.m_strKeyword);
        if (word.isEmpty() || f.m_strQualifier == kOptional)
            continue; // an optional filter narrows nothing
        QString op;
        if (f.m_strType == QLatin1String("Title") && operators.testFlag(Operator::InTitle))
            op = QStringLiteral("intitle:");
        else if (f.m_strType == QLatin1String("URL") && looksLikeHost(word) && operators.testFlag(Operator::Site))
            op = QStringLiteral("site:");
        else if (f.m_strType == QLatin1String("URL") && operators.testFlag(Operator::InUrl))
            op = QStringLiteral("inurl:");
        else if (f.m_strType == QLatin1String("Link"))
            continue;
        if (op.isEmpty()) {
            if (f.m_strQualifier == kInclude)
                included << word;
            continue;
        }
        sortInto(f.m_strQualifier, op + word, included, excluded, optional);
    }
    return combine(included, excluded, optional);
}

QString WebQueryText::operatorNames(Operators operators)
{
    QStringList names;
    if (operators.testFlag(Operator::InTitle))
        names << QStringLiteral("intitle");
    if (operators.testFlag(Operator::InUrl))
        names << QStringLiteral("inurl");
    if (operators.testFlag(Operator::Site))
        names << QStringLiteral("site");
    return names.join(QLatin1Char(' '));
}

WebQueryText::Operators WebQueryText::operatorsFromNames(const QString &names)
{
    Operators ops;
    for (const QString &name : names.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts)) {
        const QString n = name.toLower().remove(QLatin1Char(':'));
        if (n == QLatin1String("intitle"))
            ops |= Operator::InTitle;
        else if (n == QLatin1String("inurl"))
            ops |= Operator::InUrl;
        else if (n == QLatin1String("site"))
            ops |= Operator::Site;
    }
    return ops;
}
