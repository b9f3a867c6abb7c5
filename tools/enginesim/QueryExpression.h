#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

struct SimDocument;

// A decoded search request: either a boolean expression (AND, OR, NOT,
// parentheses, implicit AND between terms), the same with today's operators
// (only an upper-case OR joins, "-" excludes, "and"/"not" are words), or a list
// of +required, -excluded and plain optional terms. Terms are words, quoted
// phrases or field filters.
class QueryExpression final
{
public:
    enum class Syntax { Boolean, Simple, Today };
    // Fields a term can name; which names select them is each engine's choice.
    enum class Field { Text, Title, Url, Domain, Link, LinkDomain };

    // fieldNames maps an engine's lower-case field prefix ("title", "t", ...)
    // to the field; a prefix not in the map is part of the word.
    static QueryExpression parse(const QString &text, Syntax syntax, const QHash<QString, Field> &fieldNames);

    bool isEmpty() const { return m_terms.isEmpty(); }
    bool matches(const SimDocument &doc) const;
    // Weight of the positive terms found in doc: a title word counts 3, a summary word 1.
    int score(const SimDocument &doc) const;
    // The words of the positive text and title terms, lower case.
    QStringList positiveWords() const;

private:
    struct Term
    {
        Field field = Field::Text;
        QStringList words; // lower case; more than one makes a phrase
        QList<int> ids;    // Corpus::wordId of each word
        QString value;     // lower case, for address fields
        bool prefix = false;
    };
    struct Node
    {
        enum Kind { TermNode, And, Or, Not } kind = TermNode;
        int term = -1;
        int left = -1;
        int right = -1;
    };
    class Parser;

    bool termMatches(const Term &term, const SimDocument &doc) const;
    int termScore(const Term &term, const SimDocument &doc) const;
    bool evaluate(int node, const SimDocument &doc) const;
    void collectPositive(int node, bool negated);
    int addTerm(const QString &word, const QHash<QString, Field> &fieldNames);

    QList<Term> m_terms;
    QList<Node> m_nodes;
    int m_root = -1;
    QList<int> m_positive; // terms that add to the score
    // Simple syntax
    QList<int> m_required;
    QList<int> m_excluded;
    QList<int> m_optional;
    Syntax m_syntax = Syntax::Boolean;
};
