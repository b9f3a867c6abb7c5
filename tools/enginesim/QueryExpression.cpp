#include "QueryExpression.h"

#include "Corpus.h"
#include "SimDocument.h"

namespace {

struct Token
{
    enum Type { Word, Open, Close } type = Word;
    QString text;
};

// Splits at white space; parentheses are tokens of their own, and a double
// quote holds a phrase (blanks and parentheses included) together.
QList<Token> tokenize(const QString &text)
{
    QList<Token> tokens;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const QChar c = text.at(i);
        if (c.isSpace()) {
            ++i;
        } else if (c == u'(' || c == u')') {
            tokens.append({c == u'(' ? Token::Open : Token::Close, QString(c)});
            ++i;
        } else {
            QString word;
            while (i < n && !text.at(i).isSpace() && text.at(i) != u'(' && text.at(i) != u')') {
                if (text.at(i) == u'"') {
                    const qsizetype close = text.indexOf(u'"', i + 1);
                    const qsizetype end = close < 0 ? n : close + 1;
                    word += text.mid(i, end - i);
                    i = end;
                } else {
                    word += text.at(i++);
                }
            }
            tokens.append({Token::Word, word});
        }
    }
    return tokens;
}

bool isOperator(const Token &token, QLatin1String name, QueryExpression::Syntax syntax)
{
    if (token.type != Token::Word)
        return false;
    // Today's engines know no AND or NOT (juxtaposition and "-" say it), and
    // take OR only in capitals: "cats or dogs" looks for the word "or".
    if (syntax == QueryExpression::Syntax::Today)
        return name == QLatin1String("OR") && token.text == name;
    return token.text.compare(name, Qt::CaseInsensitive) == 0;
}

bool domainMatches(const QString &host, const QString &domain)
{
    if (domain.isEmpty())
        return false;
    const QString dotted = u'.' + host + u'.';
    return dotted.contains(QString(u'.' + domain + u'.'));
}

// Counts (or, without count, finds) the phrase in a page's words. A prefix
// term compares its last word by text; all else compares word numbers.
bool phraseIn(const QList<int> &ids, const QStringList &haystack, const QList<int> &words,
              const QStringList &texts, bool prefix, int *count)
{
    const qsizetype n = words.size();
    int found = 0;
    for (qsizetype i = 0; i + n <= ids.size(); ++i) {
        bool all = true;
        for (qsizetype w = 0; w < n && all; ++w) {
            if (prefix && w == n - 1)
                all = haystack.at(i + w).startsWith(texts.at(w));
            else
                all = ids.at(i + w) == words.at(w);
        }
        if (all) {
            ++found;
            if (!count)
                return true;
        }
    }
    if (count)
        *count = found;
    return found > 0;
}

} // namespace

class QueryExpression::Parser
{
public:
    Parser(QueryExpression &expression, const QList<Token> &tokens, const QHash<QString, Field> &fieldNames)
        : m_expr(expression), m_tokens(tokens), m_fieldNames(fieldNames)
    {
    }

    int parseAll()
    {
        int root = -1;
        while (m_pos < m_tokens.size()) {
            root = combine(Node::And, root, parseOr());
            // A closing parenthesis without its opening one is passed over.
            if (m_pos < m_tokens.size() && m_tokens.at(m_pos).type == Token::Close)
                ++m_pos;
        }
        return root;
    }

private:
    bool isOperator(const Token &token, const char *name) const
    {
        return ::isOperator(token, QLatin1String(name), m_expr.m_syntax);
    }

    int parseOr()
    {
        int left = parseAnd();
        while (m_pos < m_tokens.size() && isOperator(m_tokens.at(m_pos), "OR")) {
            ++m_pos;
            left = combine(Node::Or, left, parseAnd());
        }
        return left;
    }

    int parseAnd()
    {
        int left = parseUnary();
        while (m_pos < m_tokens.size()) {
            const Token &token = m_tokens.at(m_pos);
            if (token.type == Token::Close || isOperator(token, "OR"))
                break;
            if (isOperator(token, "AND"))
                ++m_pos;
            left = combine(Node::And, left, parseUnary());
        }
        return left;
    }

    int parseUnary()
    {
        // Operators with nothing on their left ("AND cats") are passed over.
        while (m_pos < m_tokens.size()
               && (isOperator(m_tokens.at(m_pos), "AND") || isOperator(m_tokens.at(m_pos), "OR")))
            ++m_pos;
        if (m_pos >= m_tokens.size())
            return -1;
        const Token &token = m_tokens.at(m_pos);
        if (token.type == Token::Close)
            return -1;
        ++m_pos;
        if (isOperator(token, "NOT"))
            return negate(parseUnary());
        if (token.type == Token::Open) {
            const int inner = parseOr();
            if (m_pos < m_tokens.size() && m_tokens.at(m_pos).type == Token::Close)
                ++m_pos;
            return inner;
        }
        QString word = token.text;
        bool excluded = false;
        while (word.startsWith(u'+') || word.startsWith(u'-')) {
            excluded = excluded || word.startsWith(u'-');
            word.remove(0, 1);
        }
        const int term = m_expr.addTerm(word, m_fieldNames);
        if (term < 0)
            return -1;
        const int node = addNode({Node::TermNode, term, -1, -1});
        return excluded ? negate(node) : node;
    }

    int negate(int child)
    {
        return child < 0 ? -1 : addNode({Node::Not, -1, child, -1});
    }

    int combine(Node::Kind kind, int left, int right)
    {
        if (left < 0)
            return right;
        if (right < 0)
            return left;
        return addNode({kind, -1, left, right});
    }

    int addNode(const Node &node)
    {
        m_expr.m_nodes.append(node);
        return int(m_expr.m_nodes.size() - 1);
    }

    QueryExpression &m_expr;
    const QList<Token> &m_tokens;
    const QHash<QString, Field> &m_fieldNames;
    qsizetype m_pos = 0;
};

QueryExpression QueryExpression::parse(const QString &text, Syntax syntax, const QHash<QString, Field> &fieldNames)
{
    QueryExpression expr;
    expr.m_syntax = syntax;
    const QList<Token> tokens = tokenize(text);
    if (syntax != Syntax::Simple) {
        Parser parser(expr, tokens, fieldNames);
        expr.m_root = parser.parseAll();
        if (expr.m_root >= 0)
            expr.collectPositive(expr.m_root, false);
        // Today's engines find nothing for exclusions alone, as the simple syntax does.
        if (expr.m_root < 0 || (syntax == Syntax::Today && expr.m_positive.isEmpty()))
            expr.m_terms.clear();
        return expr;
    }
    for (const Token &token : tokens) {
        if (token.type != Token::Word)
            continue; // these engines have no groups
        QString word = token.text;
        QChar sign;
        while (word.startsWith(u'+') || word.startsWith(u'-')) {
            if (sign.isNull())
                sign = word.at(0);
            word.remove(0, 1);
        }
        const int term = expr.addTerm(word, fieldNames);
        if (term < 0)
            continue;
        if (sign == u'+')
            expr.m_required.append(term);
        else if (sign == u'-')
            expr.m_excluded.append(term);
        else
            expr.m_optional.append(term);
    }
    expr.m_positive = expr.m_required + expr.m_optional;
    if (expr.m_positive.isEmpty())
        expr.m_terms.clear(); // only exclusions: nothing to look for
    return expr;
}

int QueryExpression::addTerm(const QString &word, const QHash<QString, Field> &fieldNames)
{
    Term term;
    QString value = word;
    const qsizetype colon = word.indexOf(u':');
    if (colon > 0) {
        const auto field = fieldNames.constFind(word.left(colon).toLower());
        if (field != fieldNames.constEnd()) {
            term.field = *field;
            value = word.mid(colon + 1);
        }
    }
    value.remove(u'"');
    value = value.trimmed().toLower();
    if (term.field == Field::Text || term.field == Field::Title) {
        term.prefix = value.endsWith(u'*');
        term.words = Corpus::words(value);
        if (term.words.isEmpty())
            return -1;
        for (const QString &w : std::as_const(term.words))
            term.ids.append(Corpus::wordId(w));
    } else {
        if (term.field == Field::Domain || term.field == Field::LinkDomain) {
            if (value.startsWith(QLatin1String("http://")))
                value = Corpus::hostOf(value);
        }
        term.value = value;
        if (value.isEmpty())
            return -1;
    }
    m_terms.append(term);
    return int(m_terms.size() - 1);
}

bool QueryExpression::termMatches(const Term &term, const SimDocument &doc) const
{
    switch (term.field) {
    case Field::Text:
        return phraseIn(doc.titleIds, doc.titleWords, term.ids, term.words, term.prefix, nullptr)
               || phraseIn(doc.summaryIds, doc.summaryWords, term.ids, term.words, term.prefix, nullptr);
    case Field::Title:
        return phraseIn(doc.titleIds, doc.titleWords, term.ids, term.words, term.prefix, nullptr);
    case Field::Url:
        return doc.lowerUrl.contains(term.value);
    case Field::Domain:
        return domainMatches(doc.host, term.value);
    case Field::Link:
        for (const QString &link : doc.lowerLinks) {
            if (link.contains(term.value))
                return true;
        }
        return false;
    case Field::LinkDomain:
        for (const QString &host : doc.linkHosts) {
            if (domainMatches(host, term.value))
                return true;
        }
        return false;
    }
    return false;
}

int QueryExpression::termScore(const Term &term, const SimDocument &doc) const
{
    if (term.field == Field::Text || term.field == Field::Title) {
        int inTitle = 0;
        int inSummary = 0;
        phraseIn(doc.titleIds, doc.titleWords, term.ids, term.words, term.prefix, &inTitle);
        if (term.field == Field::Text)
            phraseIn(doc.summaryIds, doc.summaryWords, term.ids, term.words, term.prefix, &inSummary);
        return 3 * inTitle + inSummary;
    }
    return termMatches(term, doc) ? 1 : 0;
}

bool QueryExpression::evaluate(int index, const SimDocument &doc) const
{
    const Node &node = m_nodes.at(index);
    switch (node.kind) {
    case Node::TermNode: return termMatches(m_terms.at(node.term), doc);
    case Node::And: return evaluate(node.left, doc) && evaluate(node.right, doc);
    case Node::Or: return evaluate(node.left, doc) || evaluate(node.right, doc);
    case Node::Not: return !evaluate(node.left, doc);
    }
    return false;
}

void QueryExpression::collectPositive(int index, bool negated)
{
    const Node &node = m_nodes.at(index);
    if (node.kind == Node::TermNode) {
        if (!negated)
            m_positive.append(node.term);
        return;
    }
    collectPositive(node.left, negated != (node.kind == Node::Not));
    if (node.right >= 0)
        collectPositive(node.right, negated);
}

bool QueryExpression::matches(const SimDocument &doc) const
{
    if (m_terms.isEmpty())
        return false;
    if (m_syntax != Syntax::Simple)
        return evaluate(m_root, doc);
    for (const int term : m_required) {
        if (!termMatches(m_terms.at(term), doc))
            return false;
    }
    for (const int term : m_excluded) {
        if (termMatches(m_terms.at(term), doc))
            return false;
    }
    if (!m_required.isEmpty())
        return true;
    for (const int term : m_optional) {
        if (termMatches(m_terms.at(term), doc))
            return true;
    }
    return false;
}

int QueryExpression::score(const SimDocument &doc) const
{
    int total = 0;
    for (const int term : m_positive)
        total += termScore(m_terms.at(term), doc);
    return total;
}

QStringList QueryExpression::positiveWords() const
{
    QStringList words;
    for (const int index : m_positive) {
        const Term &term = m_terms.at(index);
        if (term.field == Field::Text || term.field == Field::Title)
            words += term.words;
    }
    words.removeDuplicates();
    return words;
}
