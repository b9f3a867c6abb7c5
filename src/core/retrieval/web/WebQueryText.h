#pragma once

#include <QFlags>
#include <QString>

class CTrawlexQuery;

// The query in the syntax today's engines share: included words plain (a keyword of several
// words as a quoted phrase), excluded ones as -word, optional ones as (a OR b), groups in
// parentheses by their qualifier, and title and address filters as intitle:, inurl: and
// site: where the engine takes them.
class WebQueryText final
{
public:
    enum class Operator { InTitle = 0x1, InUrl = 0x2, Site = 0x4 };
    Q_DECLARE_FLAGS(Operators, Operator)

    WebQueryText() = delete;

    // An included filter an engine has no operator for goes as its plain word, which every
    // hit that passes the filter contains anyway; an excluded one is left out of the request
    // (excluding the word everywhere would drop good hits) and is applied to the hits by
    // WebHitFilter. Link filters have no operator today and are not sent.
    static QString compose(const CTrawlexQuery &query, Operators operators);

    // "intitle inurl site": the form engine definitions store.
    static QString operatorNames(Operators operators);
    static Operators operatorsFromNames(const QString &names);
};

Q_DECLARE_OPERATORS_FOR_FLAGS(WebQueryText::Operators)
