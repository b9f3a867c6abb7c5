#include "MarkupText.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// The entities feeds use: the HTML 4 Latin-1 set and the common typographic ones. A name
// outside the table is left as written, which is what browsers do with unknown ones.
struct Entity
{
    const char *name;
    char16_t code;
};

constexpr Entity kEntities[] = {
    {"amp", u'&'},       {"lt", u'<'},         {"gt", u'>'},        {"quot", u'"'},      {"apos", u'\''},
    {"nbsp", 0x00A0},    {"iexcl", 0x00A1},    {"cent", 0x00A2},    {"pound", 0x00A3},   {"curren", 0x00A4},
    {"yen", 0x00A5},     {"brvbar", 0x00A6},   {"sect", 0x00A7},    {"uml", 0x00A8},     {"copy", 0x00A9},
    {"ordf", 0x00AA},    {"laquo", 0x00AB},    {"not", 0x00AC},     {"shy", 0x00AD},     {"reg", 0x00AE},
    {"macr", 0x00AF},    {"deg", 0x00B0},      {"plusmn", 0x00B1},  {"sup2", 0x00B2},    {"sup3", 0x00B3},
    {"acute", 0x00B4},   {"micro", 0x00B5},    {"para", 0x00B6},    {"middot", 0x00B7},  {"cedil", 0x00B8},
    {"sup1", 0x00B9},    {"ordm", 0x00BA},     {"raquo", 0x00BB},   {"frac14", 0x00BC},  {"frac12", 0x00BD},
    {"frac34", 0x00BE},  {"iquest", 0x00BF},   {"Agrave", 0x00C0},  {"Aacute", 0x00C1},  {"Acirc", 0x00C2},
    {"Atilde", 0x00C3},  {"Auml", 0x00C4},     {"Aring", 0x00C5},   {"AElig", 0x00C6},   {"Ccedil", 0x00C7},
    {"Egrave", 0x00C8},  {"Eacute", 0x00C9},   {"Ecirc", 0x00CA},   {"Euml", 0x00CB},    {"Igrave", 0x00CC},
    {"Iacute", 0x00CD},  {"Icirc", 0x00CE},    {"Iuml", 0x00CF},    {"ETH", 0x00D0},     {"Ntilde", 0x00D1},
    {"Ograve", 0x00D2},  {"Oacute", 0x00D3},   {"Ocirc", 0x00D4},   {"Otilde", 0x00D5},  {"Ouml", 0x00D6},
    {"times", 0x00D7},   {"Oslash", 0x00D8},   {"Ugrave", 0x00D9},  {"Uacute", 0x00DA},  {"Ucirc", 0x00DB},
    {"Uuml", 0x00DC},    {"Yacute", 0x00DD},   {"THORN", 0x00DE},   {"szlig", 0x00DF},   {"agrave", 0x00E0},
    {"aacute", 0x00E1},  {"acirc", 0x00E2},    {"atilde", 0x00E3},  {"auml", 0x00E4},    {"aring", 0x00E5},
    {"aelig", 0x00E6},   {"ccedil", 0x00E7},   {"egrave", 0x00E8},  {"eacute", 0x00E9},  {"ecirc", 0x00EA},
    {"euml", 0x00EB},    {"igrave", 0x00EC},   {"iacute", 0x00ED},  {"icirc", 0x00EE},   {"iuml", 0x00EF},
    {"eth", 0x00F0},     {"ntilde", 0x00F1},   {"ograve", 0x00F2},  {"oacute", 0x00F3},  {"ocirc", 0x00F4},
    {"otilde", 0x00F5},  {"ouml", 0x00F6},     {"divide", 0x00F7},  {"oslash", 0x00F8},  {"ugrave", 0x00F9},
    {"uacute", 0x00FA},  {"ucirc", 0x00FB},    {"uuml", 0x00FC},    {"yacute", 0x00FD},  {"thorn", 0x00FE},
    {"yuml", 0x00FF},    {"OElig", 0x0152},    {"oelig", 0x0153},   {"Scaron", 0x0160},  {"scaron", 0x0161},
    {"Yuml", 0x0178},    {"fnof", 0x0192},     {"circ", 0x02C6},    {"tilde", 0x02DC},   {"ensp", 0x2002},
    {"emsp", 0x2003},    {"thinsp", 0x2009},   {"zwnj", 0x200C},    {"zwj", 0x200D},     {"lrm", 0x200E},
    {"rlm", 0x200F},     {"ndash", 0x2013},    {"mdash", 0x2014},   {"lsquo", 0x2018},   {"rsquo", 0x2019},
    {"sbquo", 0x201A},   {"ldquo", 0x201C},    {"rdquo", 0x201D},   {"bdquo", 0x201E},   {"dagger", 0x2020},
    {"Dagger", 0x2021},  {"bull", 0x2022},     {"hellip", 0x2026},  {"permil", 0x2030},  {"prime", 0x2032},
    {"Prime", 0x2033},   {"lsaquo", 0x2039},   {"rsaquo", 0x203A},  {"oline", 0x203E},   {"frasl", 0x2044},
    {"euro", 0x20AC},    {"trade", 0x2122},    {"larr", 0x2190},    {"uarr", 0x2191},    {"rarr", 0x2192},
    {"darr", 0x2193},    {"harr", 0x2194},     {"minus", 0x2212},   {"le", 0x2264},      {"ge", 0x2265},
    {"ne", 0x2260},      {"infin", 0x221E},    {"hearts", 0x2665},  {"loz", 0x25CA},
};

constexpr qsizetype kLongestEntityName = 8;

const QHash<QString, QString> &entityTable()
{
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> t;
        for (const Entity &e : kEntities)
            t.insert(QString::fromLatin1(e.name), QString(QChar(e.code)));
        return t;
    }();
    return table;
}

// HTML reads character references 128 to 159 as Windows-1252, which old pages relied on.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiAlnum(QChar c)
{
    return isAsciiLetter(c) || (c >= u'0' && c <= u'9');
}

// Tags that end a line or a block: they leave a blank so the words around them stay apart.
bool isBlockTag(QStringView name)
{
    static const char *const kBlocks[] = {"address", "article", "aside", "blockquote", "br", "caption", "dd", "div",
                                          "dl", "dt", "figcaption", "figure", "footer", "h1", "h2", "h3", "h4", "h5",
                                          "h6", "header", "hr", "img", "li", "nav", "ol", "p", "pre", "section",
                                          "table", "tbody", "td", "th", "thead", "tr", "ul"};
    char lower[12];
    if (name.isEmpty() || name.size() >= qsizetype(sizeof lower))
        return false;
    for (qsizetype i = 0; i < name.size(); ++i)
        lower[i] = char(name[i].toLatin1() | 0x20); // names are ASCII letters and digits here
    lower[name.size()] = 0;
    for (const char *block : kBlocks)
        if (std::strcmp(block, lower) == 0)
            return true;
    return false;
}

// Collects text, collapsing runs of white space into one blank and trimming both ends. It
// writes into a buffer sized for the input: every routine here writes at most one unit of
// output per unit of input, and the buffer grows should that ever not hold.
class TextOut final
{
public:
    explicit TextOut(qsizetype expected) : m_text(std::max<qsizetype>(expected, 16), Qt::Uninitialized)
    {
        m_data = reinterpret_cast<char16_t *>(m_text.data());
    }

    void add(QChar c)
    {
        const char16_t u = c.unicode();
        if (u > 0x20 && u < 0x7F) {
            put(u);
            return;
        }
        if (c.isSpace()) {
            m_blank = m_size > 0;
            return;
        }
        if (u < 0x20 || (u >= 0x7F && u < 0xA0))
            return; // control characters would only garble a title
        put(u);
    }
    void add(QStringView s)
    {
        for (QChar c : s)
            add(c);
    }
    void addCodePoint(char32_t code)
    {
        if (code >= 0x80 && code < 0xA0)
            code = kWindows1252High[code - 0x80];
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            code = 0xFFFD;
        if (code > 0xFFFF) {
            put(QChar::highSurrogate(code));
            m_data[m_size++] = QChar::lowSurrogate(code);
            return;
        }
        add(QChar(char16_t(code)));
    }
    void blank() { m_blank = m_size > 0; }
    QString take()
    {
        m_text.truncate(m_size);
        return std::move(m_text);
    }

private:
    // Writes one unit, after the pending blank; keeps room for one more (a surrogate's pair).
    void put(char16_t u)
    {
        if (m_size + 3 > m_text.size()) {
            m_text.resize(m_text.size() * 2);
            m_data = reinterpret_cast<char16_t *>(m_text.data());
        }
        if (m_blank) {
            m_data[m_size++] = u' ';
            m_blank = false;
        }
        m_data[m_size++] = u;
    }

    QString m_text;
    char16_t *m_data = nullptr;
    qsizetype m_size = 0;
    bool m_blank = false;
};

// Decodes the reference starting at text[at] == '&'; returns the index after it, or at + 1
// with the '&' written as text when it is not a reference.
qsizetype decodeReference(QStringView text, qsizetype at, TextOut &out)
{
    const qsizetype n = text.size();
    qsizetype i = at + 1;
    if (i < n && text[i] == u'#') {
        ++i;
        const bool hex = i < n && (text[i] == u'x' || text[i] == u'X');
        if (hex)
            ++i;
        const qsizetype digitsStart = i;
        char32_t code = 0;
        bool tooBig = false;
        while (i < n) {
            const QChar c = text[i];
            int digit = -1;
            if (c >= u'0' && c <= u'9')
                digit = c.unicode() - u'0';
            else if (hex && c >= u'a' && c <= u'f')
                digit = c.unicode() - u'a' + 10;
            else if (hex && c >= u'A' && c <= u'F')
                digit = c.unicode() - u'A' + 10;
            if (digit < 0)
                break;
            if (!tooBig) {
                code = code * (hex ? 16 : 10) + char32_t(digit);
                tooBig = code > 0x10FFFF;
            }
            ++i;
        }
        if (i == digitsStart) {
            out.add(u'&');
            return at + 1;
        }
        out.addCodePoint(tooBig ? 0xFFFD : code);
        return i < n && text[i] == u';' ? i + 1 : i;
    }
    qsizetype end = i;
    while (end < n && end - i <= kLongestEntityName && isAsciiAlnum(text[end]))
        ++end;
    if (end < n && text[end] == u';' && end > i) {
        const QStringView entity = MarkupText::namedEntity(text.sliced(i, end - i));
        if (!entity.isEmpty()) {
            out.add(entity);
            return end + 1;
        }
    }
    out.add(u'&');
    return at + 1;
}

} // namespace

QStringView MarkupText::namedEntity(QStringView name)
{
    // The few that make up nearly every reference in real text, without a lookup.
    if (name == u"amp")
        return u"&";
    if (name == u"lt")
        return u"<";
    if (name == u"gt")
        return u">";
    if (name == u"quot")
        return u"\"";
    if (name == u"nbsp")
        return u"\u00A0";
    const auto &table = entityTable();
    const auto it = table.constFind(name.toString());
    return it == table.constEnd() ? QStringView() : QStringView(*it);
}

QString MarkupText::fromPlain(QStringView text)
{
    TextOut out(text.size());
    out.add(text);
    return out.take();
}

QString MarkupText::fromHtml(QStringView html)
{
    const qsizetype n = html.size();
    TextOut out(n);
    // Where the last search for a '>' ended without one: no tag can close after that, so
    // every later '<' is text. This keeps a page full of unclosed '<' linear.
    qsizetype noCloseFrom = n + 1;
    bool quotesTrusted = true;
    qsizetype i = 0;
    while (i < n) {
        const QChar c = html[i];
        if (c == u'&') {
            i = decodeReference(html, i, out);
            continue;
        }
        if (c != u'<' || i + 1 >= n) {
            out.add(c);
            ++i;
            continue;
        }
        const QChar next = html[i + 1];
        if (next == u'!') {
            if (html.sliced(i).startsWith(u"<!--")) {
                const qsizetype end = html.indexOf(u"-->", i + 4);
                i = end < 0 ? n : end + 3; // an unclosed comment hides the rest, as in a browser
                continue;
            }
            if (html.sliced(i).startsWith(u"<![CDATA[")) {
                const qsizetype end = html.indexOf(u"]]>", i + 9);
                const qsizetype stop = end < 0 ? n : end;
                out.add(html.sliced(i + 9, stop - i - 9));
                i = end < 0 ? n : end + 3;
                continue;
            }
        }
        const bool closing = next == u'/';
        const qsizetype nameStart = i + (closing ? 2 : 1);
        const bool tagLike = next == u'!' || next == u'?' || (nameStart < n && isAsciiLetter(html[nameStart]));
        if (!tagLike || i >= noCloseFrom) {
            out.add(c);
            ++i;
            continue;
        }
        // Find the '>' that ends the tag; quoted attribute values may hold one.
        qsizetype end = -1;
        if (quotesTrusted) {
            QChar quote;
            for (qsizetype j = nameStart; j < n; ++j) {
                const QChar d = html[j];
                if (!quote.isNull()) {
                    if (d == quote)
                        quote = QChar();
                } else if (d == u'"' || d == u'\'') {
                    quote = d;
                } else if (d == u'>') {
                    end = j;
                    break;
                }
            }
            // An unbalanced quote ran to the end once; later tags end at their first '>'.
            if (end < 0)
                quotesTrusted = false;
        }
        if (end < 0)
            end = html.indexOf(u'>', nameStart);
        if (end < 0) {
            noCloseFrom = i;
            out.add(c);
            ++i;
            continue;
        }
        qsizetype nameEnd = nameStart;
        while (nameEnd < end && isAsciiAlnum(html[nameEnd]))
            ++nameEnd;
        const QStringView name = html.sliced(nameStart, nameEnd - nameStart);
        if (isBlockTag(name))
            out.blank();
        i = end + 1;
        const bool scriptOrStyle = !closing && (name.size() == 5 || name.size() == 6)
            && (name.compare(u"script", Qt::CaseInsensitive) == 0 || name.compare(u"style", Qt::CaseInsensitive) == 0);
        if (scriptOrStyle && html[end - 1] != u'/') {
            const QString closer = u"</" + name.toString();
            const qsizetype close = html.indexOf(closer, i, Qt::CaseInsensitive);
            if (close < 0) {
                i = n;
            } else {
                const qsizetype closeEnd = html.indexOf(u'>', close);
                i = closeEnd < 0 ? n : closeEnd + 1;
            }
            out.blank();
        }
    }
    return out.take();
}
