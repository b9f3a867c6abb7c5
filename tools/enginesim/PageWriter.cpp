#include "PageWriter.h"

#include "EngineRequest.h"
#include "QueryExpression.h"
#include "WebText.h"

#include <QSet>
#include <QUrl>

#include <algorithm>

namespace {

using Field = QueryExpression::Field;

QHash<QString, Field> fieldNames(const QString &engine)
{
    if (engine == QLatin1String("AltaVista"))
        return {{"title", Field::Title}, {"url", Field::Url}, {"link", Field::Link},
                {"host", Field::Domain}, {"domain", Field::Domain}};
    if (engine == QLatin1String("HotBotRepeat"))
        return {{"title", Field::Title}, {"domain", Field::Domain}, {"linkdomain", Field::LinkDomain},
                {"link", Field::Link}, {"url", Field::Url}};
    if (engine == QLatin1String("InfoSeek"))
        return {{"title", Field::Title}, {"url", Field::Url}, {"link", Field::Link}, {"site", Field::Domain}};
    if (engine == QLatin1String("Yahoo"))
        return {{"t", Field::Title}, {"u", Field::Url}, {"url", Field::Url}};
    return {}; // Excite, Lycos and Magellan take words only
}

QueryExpression::Syntax syntaxOf(const QString &engine)
{
    return engine == QLatin1String("InfoSeek") || engine == QLatin1String("Yahoo")
               ? QueryExpression::Syntax::Simple
               : QueryExpression::Syntax::Boolean;
}

QString html(const QString &text)
{
    return WebText::escapeHtml(text);
}

QString form(const QString &text)
{
    return QString::fromLatin1(WebText::encodeFormValue(text));
}

QString num(qsizetype n)
{
    return QString::number(n);
}

// Size and date a page "was indexed" with: fixed per page so every answer is the same.
int sizeK(int index)
{
    return 1 + (index * 7) % 38;
}

QString indexDate(int index, const char *format)
{
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const int day = 1 + index % 28;
    const char *month = months[(index / 28) % 12];
    const int year = 96 + (index / 336) % 3;
    return QString::asprintf(format, day, month, year);
}

// Yahoo shows the words it matched in bold.
QString boldWords(const QString &escaped, const QSet<QString> &words)
{
    QString out;
    out.reserve(escaped.size() + 32);
    qsizetype i = 0;
    while (i < escaped.size()) {
        if (!escaped.at(i).isLetterOrNumber()) {
            out += escaped.at(i++);
            continue;
        }
        qsizetype end = i;
        while (end < escaped.size() && escaped.at(end).isLetterOrNumber())
            ++end;
        const QString run = escaped.mid(i, end - i);
        const bool inEntity = i > 0 && (escaped.at(i - 1) == u'&' || escaped.at(i - 1) == u'#');
        if (!inEntity && words.contains(run.toLower()))
            out += QLatin1String("<b>") + run + QLatin1String("</b>");
        else
            out += run;
        i = end;
    }
    return out;
}

QString categoryPath(const QString &category)
{
    QStringList parts = category.split(QLatin1String(": "));
    for (QString &part : parts)
        part.replace(u' ', u'_');
    return parts.join(u'/') + u'/';
}

} // namespace

PageWriter::PageWriter(const Corpus &corpus, const QString &serverAddress, bool utf8)
    : m_corpus(corpus), m_serverAddress(serverAddress), m_utf8(utf8)
{
    QSet<QString> seen;
    for (const SimDocument &doc : corpus.documents()) {
        if (doc.category.isEmpty() || seen.contains(doc.category))
            continue;
        seen.insert(doc.category);
        SimDocument entry;
        entry.title = doc.category;
        entry.url = QString::fromLatin1(
            QUrl(QStringLiteral("http://%1/yahoo/%2").arg(serverAddress, categoryPath(doc.category))).toEncoded());
        m_categories.add(entry);
    }
}

QString PageWriter::charsetName() const
{
    return m_utf8 ? QStringLiteral("utf-8") : QStringLiteral("windows-1252");
}

QString PageWriter::metaCharset() const
{
    return QLatin1String("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=") + charsetName()
           + QLatin1String("\">\n");
}

QString PageWriter::percent(const QList<Corpus::Hit> &hits, int i) const
{
    const int top = std::max(1, hits.first().score);
    const int value = (hits.at(i).score * 99 + top / 2) / top;
    return num(std::clamp(value, 1, 99));
}

QByteArray PageWriter::resultPage(const EngineRequest &request) const
{
    const QueryExpression expression
        = QueryExpression::parse(request.queryText, syntaxOf(request.engine), fieldNames(request.engine));
    const QList<Corpus::Hit> hits = m_corpus.search(expression);
    QString page;
    if (request.engine == QLatin1String("AltaVista"))
        page = altaVista(request, hits);
    else if (request.engine == QLatin1String("Excite"))
        page = excite(request, hits);
    else if (request.engine == QLatin1String("HotBotRepeat"))
        page = hotBot(request, hits);
    else if (request.engine == QLatin1String("InfoSeek"))
        page = infoSeek(request, hits);
    else if (request.engine == QLatin1String("Lycos"))
        page = lycos(request, hits);
    else if (request.engine == QLatin1String("Magellan"))
        page = magellan(request, hits);
    else if (request.engine == QLatin1String("Yahoo"))
        page = yahoo(request, expression, hits);
    return WebText::encodePage(page, m_utf8);
}

QByteArray PageWriter::notFoundPage(const QByteArray &target) const
{
    const QString page = QLatin1String("<HTML><HEAD><TITLE>404 Not Found</TITLE></HEAD><BODY>\n<H1>Not Found</H1>\n"
                                       "The requested URL ")
                         + html(QString::fromLatin1(target))
                         + QLatin1String(" was not found on this server.<P>\n</BODY></HTML>\n");
    return WebText::encodePage(page, m_utf8);
}

QByteArray PageWriter::categoryPage(const QByteArray &target) const
{
    const QString path = QUrl::fromPercentEncoding(target);
    QString category;
    QString page;
    for (const SimDocument &d : m_corpus.documents()) {
        if (d.category.isEmpty() || QLatin1String("/yahoo/") + categoryPath(d.category) != path)
            continue;
        if (category.isEmpty()) {
            category = d.category;
            page = QLatin1String("<HTML><HEAD><TITLE>Yahoo! - ") + html(category) + QLatin1String("</TITLE>\n")
                   + metaCharset() + QLatin1String("</HEAD><BODY>\n<CENTER><A HREF=\"/yahoo/\"><IMG SRC=\"/yahoo/images/main.gif\" "
                                                    "WIDTH=460 HEIGHT=59 BORDER=0 ALT=\"Yahoo!\"></A></CENTER>\n<H2>")
                   + html(category) + QLatin1String("</H2>\n<HR>\n<UL>\n");
        }
        page += QLatin1String("<LI><A HREF=\"") + d.url + QLatin1String("\">") + html(d.title) + QLatin1String("</A> - ")
                + html(d.summary) + u'\n';
    }
    if (category.isEmpty())
        return {};
    page += QLatin1String("</UL>\n<HR><CENTER><SMALL><I>Copyright &copy; 1994-98 Yahoo! All rights reserved.</I></SMALL>"
                          "</CENTER>\n</BODY></HTML>\n");
    return WebText::encodePage(page, m_utf8);
}

QByteArray PageWriter::redirectPage(const QByteArray &location) const
{
    // No end tag here: the client must take the status line, not a page.
    return "<HEAD><TITLE>Document moved</TITLE></HEAD>\n<BODY><H1>Document moved</H1>\nThis document has moved "
           "<A HREF=\"" + location + "\">here</A>.<P>\n</BODY>\n";
}

QString PageWriter::altaVista(const EngineRequest &request, const QList<Corpus::Hit> &hits) const
{
    const QString q = html(request.queryText);
    const QString self = QStringLiteral("/altavista/cgi-bin/query?pg=aq&text=yes&q=") + form(request.queryText);
    QString p = QLatin1String("<html><head>\n<title>AltaVista: Advanced Query ") + q
                + QLatin1String("</title>\n") + metaCharset()
                + QLatin1String("</head><body bgcolor=\"#ffffff\" text=\"#000000\" link=\"#0000ee\" vlink=\"#551a8b\">\n"
                                "<a href=\"/altavista/cgi-bin/query?pg=aq&text=yes\"><b>AltaVista Search</b></a><br>\n"
                                "<FORM name=mfrm method=GET action=\"/altavista/cgi-bin/query\">\n"
                                "<INPUT TYPE=hidden NAME=pg VALUE=aq>\n<INPUT TYPE=hidden NAME=text VALUE=yes>\n"
                                "<font size=-1 face=\"arial, helvetica\"><B>Search <SELECT NAME=what>"
                                "<OPTION VALUE=web SELECTED>the Web<OPTION VALUE=news >Usenet</SELECT>"
                                " and Display the Results <SELECT NAME=fmt><OPTION VALUE=. SELECTED>in Standard Form"
                                "<OPTION VALUE=c >in Compact Form</SELECT></B></font><br>\n"
                                "<font size=-1>Selection Criteria: Please use advanced syntax (AND, OR, NOT, NEAR)."
                                "</font><br>\n<INPUT NAME=q size=65 maxlength=800 VALUE=\"")
                + q
                + QLatin1String("\"><br>\n<INPUT TYPE=submit VALUE=Submit>\n"
                                " <BR><a href=\"/altavista/cgi-bin/query?pg=q&text=yes\">Simple Search</a> . "
                                "<a href=\"/altavista/cgi-bin/query?pg=aq&text=yes\">New Search</a><br><BR>");
    const int start = request.start;
    if (start >= hits.size()) {
        p += QLatin1String("<font size=-1 face=\"arial, helvetica\">No documents match the query.</font><BR>\n");
    } else {
        p += QLatin1String("<font size=-1 face=\"arial, helvetica\">About <b>") + num(hits.size())
             + QLatin1String("</b> documents match your query.</font><BR><dl>\n");
        const int end = std::min<int>(start + kPageSize, hits.size());
        for (int i = start; i < end; ++i) {
            const SimDocument &d = doc(hits.at(i));
            p += QLatin1String("<dt><font size=-1><b>") + num(i + 1) + QLatin1String(". </b></font><a href=\"") + d.url
                 + QLatin1String("\"><strong>") + html(d.title) + QLatin1String("</strong></a><dd>") + html(d.summary)
                 + QLatin1String("<br><cite><a href=\"") + d.url + QLatin1String("\">") + html(d.url)
                 + QLatin1String("</a> - size ") + num(sizeK(hits.at(i).index)) + QLatin1String("K - ")
                 + indexDate(hits.at(i).index, "%d-%s-%02d") + QLatin1String(" - English</cite><br>\n<P>");
        }
        p += QLatin1String("</dl>\n<P>");
        for (int page = 0; page * kPageSize < hits.size() && page < 20; ++page) {
            if (page * kPageSize == start)
                p += num(page + 1) + u' ';
            else
                p += QLatin1String("<a href=\"") + self + QLatin1String("&stq=") + num(page * kPageSize)
                     + QLatin1String("\">") + num(page + 1) + QLatin1String(" </a>");
        }
        if (end < hits.size())
            p += QLatin1String("<a href=\"") + self + QLatin1String("&stq=") + num(end) + QLatin1String("\">[Next]</a>");
        p += QLatin1String("<br>\n");
    }
    p += QLatin1String("</FORM>\n<HR><font face=\"arial, helvetica\" size=-1><a href=\"/altavista/av/content/addurl.htm\">"
                       "Add/Remove URL</a> | <a href=\"/altavista/av/content/help.htm\">Help</a></font><HR>"
                       "<font size=-1>Copyright 1997. All Rights Reserved</font>\n</BODY></HTML>\n");
    return p;
}

QString PageWriter::excite(const EngineRequest &request, const QList<Corpus::Hit> &hits) const
{
    const QString q = html(request.queryText);
    QString p = QLatin1String("<HTML>\n<HEAD><TITLE>Excite Search Results: ") + q + QLatin1String("</TITLE>\n")
                + metaCharset()
                + QLatin1String("</HEAD>\n<BODY BGCOLOR=#ffffff LINK=#0000ff VLINK=#9900cc>\n"
                                "<FORM NAME=\"topsearchbox\" ACTION=\"/excite/search.gw\" METHOD=get>\n"
                                "<INPUT TYPE=hidden NAME=look VALUE=default>\n"
                                "<TABLE BORDER=0 CELLPADDING=0 CELLSPACING=0 WIDTH=600><TR><TD>"
                                "<FONT FACE=arial,helvetica SIZE=-1><B>Search:</B></FONT> "
                                "<INPUT NAME=search SIZE=35 VALUE=\"")
                + q
                + QLatin1String("\"> <INPUT TYPE=submit NAME=Search VALUE=Search></TD></TR></TABLE>\n</FORM>\n"
                                "<CENTER><TABLE BORDER=0 WIDTH=600><TR><TD>\n");
    const int start = request.start;
    if (start >= hits.size()) {
        p += QLatin1String("<FONT SIZE=+1><B>No documents found.</B></FONT><P>\nExcite found no documents about: <B>") + q
             + QLatin1String("</B>. Please check the spelling or try other words.\n</TD></TR></TABLE></CENTER>\n");
    } else {
        const int end = std::min<int>(start + kPageSize, hits.size());
        const QString sort = QLatin1String("<A HREF=\"/excite/search.gw?look=default&search=") + form(request.queryText)
                             + QLatin1String("&sort=site\"><B>List by Web site</B></A>&nbsp;\n");
        p += QLatin1String("<FONT SIZE=-1>Excite Search found <B>") + num(hits.size())
             + QLatin1String("</B> documents about: <B>") + q + QLatin1String("</B></FONT><BR>\nDocuments <B>")
             + num(start + 1) + u'-' + num(end) + QLatin1String("</B> sorted by relevance. Sort by: ") + sort
             + QLatin1String("<P>\n");
        for (int i = start; i < end; ++i) {
            const SimDocument &d = doc(hits.at(i));
            p += QLatin1String("         <FONT COLOR=navy><B>") + percent(hits, i)
                 + QLatin1String("% </B></FONT>          <B><A HREF=\"") + d.url + QLatin1String("\">") + html(d.title)
                 + QLatin1String("</A></B>&nbsp;\n                          <BR><B><I>URL: </I></B>") + d.url
                 + QLatin1String("\n                          <BR><B><I>Summary: </I></B>") + html(d.summary)
                 + QLatin1String("<BR>\n                          <B><I>More Like This:</I></B>"
                                 "<A HREF=\"/excite/search.gw?look=default&qbe=")
                 + num(hits.at(i).index)
                 + QLatin1String("&showSummary=true\"> Click here to perform a search for documents like this one.</A><P>\n");
        }
        p += QLatin1String("               ") + sort + QLatin1String("</TD></TR></TABLE></CENTER>\n");
        if (end < hits.size()) {
            p += QLatin1String("<FORM ACTION=\"/excite/search.gw\" METHOD=get>\n<INPUT TYPE=hidden NAME=search VALUE=\"")
                 + q + QLatin1String("\">\n<INPUT TYPE=hidden NAME=start VALUE=") + num(end)
                 + QLatin1String(">\n<INPUT TYPE=hidden NAME=perPage VALUE=10>\n"
                                 "<INPUT TYPE=submit NAME=next VALUE=\"Next Results\">\n</FORM>\n");
        }
    }
    p += QLatin1String("<FORM NAME=\"bottomsearchbox\" ACTION=\"/excite/search.gw\" METHOD=get>\n"
                       "<INPUT TYPE=hidden NAME=look VALUE=default><INPUT NAME=search SIZE=35 VALUE=\"")
         + q
         + QLatin1String("\"> <INPUT TYPE=submit NAME=Search VALUE=Search>\n</FORM>\n"
                         "<CENTER><FONT SIZE=-2>Copyright &copy; 1995-1998 Excite Inc.</FONT></CENTER>\n</BODY>\n</HTML>\n");
    return p;
}

QString PageWriter::hotBot(const EngineRequest &request, const QList<Corpus::Hit> &hits) const
{
    const QString q = html(request.queryText);
    QString p = QLatin1String("<HTML>\n<HEAD><TITLE>HotBot results: ") + q + QLatin1String("</TITLE>\n") + metaCharset()
                + QLatin1String("</HEAD>\n<BODY bgcolor=\"#ffffff\" text=\"#000000\" link=\"#0000ff\" vlink=\"#ff0000\">"
                                "<A HREF=\"/hotbot/help/\">Help</A> | <A HREF=\"/hotbot/\">New Search</A>\n"
                                "<FORM action=\"/hotbot/\" ><TABLE cellpadding=\"0\" cellspacing=\"0\">\n"
                                "<TR><TD  valign=\"BOTTOM\" align=\"RIGHT\">look for&nbsp;<SELECT NAME=\"SM\" >\n"
                                "\t<OPTION VALUE=\"MC\">all the words\n\t<OPTION VALUE=\"SC\">any of the words\n"
                                "\t<OPTION VALUE=\"phrase\">the exact phrase\n\t<OPTION VALUE=\"B\" selected>the Boolean phrase\n"
                                "</SELECT></TD>\n<TD ><INPUT TYPE=text VALUE=\"")
                + q
                + QLatin1String("\" SIZE=39 name=\"MT\" maxlength=\"300\"></TD></TR>\n</TABLE>\n"
                                "<INPUT TYPE=\"hidden\" NAME=\"RG\" VALUE=\"NA\"><INPUT TYPE=\"hidden\" NAME=\"_v\" VALUE=\"2\"></FORM>\n");
    const int start = request.start;
    if (start >= hits.size()) {
        p += QLatin1String("<P><B>Sorry -- your search yielded no results.</B><BR>\n"
                           "Check your spelling, or try fewer or different words.\n");
    } else {
        const int end = std::min<int>(start + kPageSize, hits.size());
        p += QLatin1String("<TABLE cellpadding=\"0\" cellspacing=\"0\">\n<TR><TD >\n<B>Returned:</B> ") + num(hits.size())
             + QLatin1String(" matches.\n</TD>\n<TD >&nbsp;") + num(start + 1) + QLatin1String("&nbsp;-&nbsp;") + num(end)
             + QLatin1String("&nbsp;</TD></TR>\n</TABLE>\n<TABLE cellpadding=\"0\" cellspacing=\"0\">\n");
        for (int i = start; i < end; ++i) {
            const SimDocument &d = doc(hits.at(i));
            p += QLatin1String("<TR >\n<TD  width=\"20\" align=\"left\" valign=\"top\"><B>") + num(i + 1)
                 + QLatin1String(". </B>\n</TD>\n<TD ><A HREF=\"") + d.url + QLatin1String("\">") + html(d.title)
                 + QLatin1String("</A>\n</TD></TR>\n<TR ><TD  valign=\"TOP\"><FONT size=-1>") + percent(hits, i)
                 + QLatin1String("%</FONT></TD>\n<TD >") + html(d.summary) + QLatin1String("<BR>\n") + html(d.url)
                 + QLatin1String(", ") + num(sizeK(hits.at(i).index) * 1024 + hits.at(i).index % 1000)
                 + QLatin1String(" bytes, ") + indexDate(hits.at(i).index, "%02d%s%02d") + QLatin1String("</TD></TR>\n");
        }
        p += QLatin1String("</TABLE>\n");
        if (end < hits.size()) {
            p += QLatin1String("<P><A HREF=\"/hotbot/?MT=") + form(request.queryText) + QLatin1String("&base=")
                 + num(end) + QLatin1String("&RG=NA&SM=B&_v=2&act.next.x=4&act.next.y=9\">Next page</A>\n");
        }
    }
    p += QLatin1String("<P><FONT face=\"Arial, Helvetica\" size=1>Copyright &#169; 1996-98 Wired Digital, Inc. "
                       "All rights reserved.</FONT>\n</BODY>\n</HTML>\n");
    return p;
}

QString PageWriter::infoSeek(const EngineRequest &request, const QList<Corpus::Hit> &hits) const
{
    const QString q = html(request.queryText);
    const int start = request.start;
    const bool none = start >= hits.size();
    QString p = QLatin1String("<html>\n<head>\n<title>Infoseek") + (none ? QStringLiteral(": No Results") : QString(QLatin1String(": ") + q))
                + QLatin1String("</title>\n") + metaCharset()
                + QLatin1String("</head>\n<body bgcolor=\"#FFFFFF\">\n<center>\n"
                                "<a href=\"/infoseek/Home\"><img src=\"/infoseek/images/header.gif\" width=331 height=52 "
                                "alt=\"Infoseek\" border=0></a><br>\n"
                                "<a href=\"/infoseek/Topic?tid=459\">Stocks</a>&nbsp;|&nbsp;"
                                "<a href=\"/infoseek/Topic?tid=1486\">News</a>&nbsp;|&nbsp;"
                                "<a href=\"/infoseek/Home\">Home</a>\n</center>\n<p>\n"
                                "<form action=\"/infoseek/Titles\" method=\"get\">\n<input type=\"text\" name=\"qt\" value=\"")
                + q
                + QLatin1String("\" size=50 MAXLENGTH=511> <input type=submit VALUE=\" seek \">\n"
                                "<INPUT TYPE=hidden NAME=\"col\" VALUE=\"WW\">\n</form>\n");
    if (none) {
        p += QLatin1String("<p>\n<h2>No Results Found</h2>\nInfoseek found no results for:<br>\n &gt; <b>") + q
             + QLatin1String("</b>\n<p>\n<h3>Tips for better results:</h3>\n<ul>\n<li>Check your spelling.\n"
                             "<li>Try synonyms and variations of words.\n</ul>\n");
    } else {
        const int end = std::min<int>(start + kPageSize, hits.size());
        p += QLatin1String("<table width=\"100%\" border=0 cellpadding=3 cellspacing=0><tr><td bgcolor=\"#3366CC\">"
                           "<font face=\"Arial,Helvetica\" color=\"FFFFFF\"><b>Search results</b></font>"
                           "<font face=\"Arial,Helvetica\" color=\"FFFFFF\" size=-1>&nbsp;&nbsp;")
             + num(start + 1) + QLatin1String(" - ") + num(end) + QLatin1String(" of ") + num(hits.size())
             + QLatin1String(" for ") + q + QLatin1String("</font></td></tr></table>\n<p>\n");
        for (int i = start; i < end; ++i) {
            const SimDocument &d = doc(hits.at(i));
            p += QLatin1String("<b><a href=\"") + d.url + QLatin1String("\">") + html(d.title)
                 + QLatin1String("</a></b><br>\n") + html(d.summary) + QLatin1String("<br>\n<font size=-1>Relevance: ")
                 + percent(hits, i) + QLatin1String("% &nbsp; Date: ") + indexDate(hits.at(i).index, "%d %s 19%02d")
                 + QLatin1String(", Size ") + num(sizeK(hits.at(i).index)) + QLatin1String("K, <br>\n<font color=\"#008000\">")
                 + html(d.url) + QLatin1String("</font></font><p>\n");
        }
        p += QLatin1String("<font color=\"FFFFFF\" size=0>xxxxxx</font>\n<p>\n");
        if (end < hits.size()) {
            p += QLatin1String("<a href=\"/infoseek/Titles?qt=") + form(request.queryText)
                 + QLatin1String("&lk=noframes&st=") + num(end) + QLatin1String("\">Next 10</a>\n");
        }
    }
    p += QLatin1String("<hr size=1 noshade width=\"60%\">\n<center><font size=\"-1\">Copyright &#169; 1994-98 "
                       "Infoseek Corporation. All rights reserved.</font></center>\n</body>\n</html>\n");
    return p;
}

QString PageWriter::lycos(const EngineRequest &request, const QList<Corpus::Hit> &hits) const
{
    const QString q = html(request.queryText);
    QString p = QLatin1String("<HTML>\n<HEAD>\n<TITLE>Lycos Search: ") + q + QLatin1String("</TITLE>\n") + metaCharset()
                + QLatin1String("</HEAD>\n<BODY BGCOLOR=\"#FFFFFF\" link=\"#000088\">\n"
                                "<TABLE BORDER=0 CELLSPACING=0 CELLPADDING=0 WIDTH=602><TR>\n"
                                "<TD WIDTH=125 BGCOLOR=\"#000000\" VALIGN=TOP><A HREF=\"/lycos/\"><IMG SRC=\"/lycos/graphics/logo.gif\" "
                                "width=125 height=48 alt=\"Lycos\" border=0></A></TD>\n<TD WIDTH=476 VALIGN=TOP>\n"
                                "<FORM ACTION=\"/lycos/cgi-bin/pursuit\" METHOD=GET>\n<INPUT NAME=query SIZE=30 VALUE=\"")
                + q
                + QLatin1String("\"> <INPUT TYPE=submit VALUE=\"Go Get It!\"><INPUT TYPE=hidden NAME=adv VALUE=1>\n</FORM>\n"
                                "<!--- Formatted results start here --->\n");
    const int start = request.start;
    const int end = std::min<int>(start + kPageSize, hits.size());
    if (start >= hits.size()) {
        p += QLatin1String("<P>\nNo documents match all of the search words: ") + q
             + QLatin1String("\n<p>\n\n<!--- end formatted results --->\n");
    } else {
        p += QLatin1String("<P><FONT SIZE=-1><B>Web Pages</B> ") + num(start + 1) + u'-' + num(end) + QLatin1String(" of ")
             + num(hits.size()) + QLatin1String(" relevant results</FONT>\n<TABLE CELLPADDING=4 CELLSPACING=0 BORDER=0>\n");
        for (int i = start; i < end; ++i) {
            const SimDocument &d = doc(hits.at(i));
            p += QLatin1String("<TR><TD VALIGN=TOP ALIGN=RIGHT><FONT SIZE=-1>") + num(i + 1)
                 + QLatin1String(")</FONT></TD><TD><a href=\"") + d.url + QLatin1String("\">") + html(d.title)
                 + QLatin1String("</a><br>") + html(d.summary) + QLatin1String("\n<FONT SIZE=-1>") + html(d.url)
                 + QLatin1String(" &nbsp;[") + percent(hits, i) + QLatin1String("%, ") + num(sizeK(hits.at(i).index))
                 + QLatin1String("K]</FONT></TD></TR>\n");
        }
        p += QLatin1String("</TABLE>\n<!--- end formatted results --->\n");
        if (end < hits.size()) {
            p += QLatin1String("<P><A HREF=\"/lycos/cgi-bin/pursuit?query=") + form(request.queryText)
                 + QLatin1String("&adv=1&first=") + num(end + 1) + QLatin1String("\">Next 10</A>\n");
        }
    }
    p += QLatin1String("</TD></TR></TABLE>\n<P><FONT SIZE=-1>Copyright &copy; 1997 Lycos, Inc. All Rights Reserved.</FONT>\n"
                       "</BODY>\n</HTML>\n");
    return p;
}

QString PageWriter::magellan(const EngineRequest &request, const QList<Corpus::Hit> &hits) const
{
    const QString q = html(request.queryText);
    QString p = QLatin1String("<HTML>\n<HEAD>\n<TITLE>Magellan Search Results: ") + q + QLatin1String("</TITLE>\n")
                + metaCharset()
                + QLatin1String("</HEAD>\n<BODY BGCOLOR=\"#FFFFFF\" LINK=\"#000099\" VLINK=\"#663399\">\n"
                                "<CENTER><A HREF=\"/magellan/\"><IMG SRC=\"/magellan/images/logo.gif\" WIDTH=300 HEIGHT=60 "
                                "BORDER=0 ALT=\"Magellan Internet Guide\"></A></CENTER>\n"
                                "<FORM ACTION=\"/magellan/search.gw\" METHOD=get>\n<INPUT NAME=search SIZE=40 VALUE=\"")
                + q
                + QLatin1String("\"> <INPUT TYPE=submit VALUE=Search>\n<INPUT TYPE=hidden NAME=look VALUE=magellan>\n"
                                "</FORM>\n<BLOCKQUOTE>\n");
    const int start = request.start;
    if (start >= hits.size()) {
        p += QLatin1String("<B>No results</B> were found for <B>") + q
             + QLatin1String("</B>. Try different or fewer words.\n</BLOCKQUOTE>\n");
    } else {
        const int end = std::min<int>(start + kPageSize, hits.size());
        p += QLatin1String("<B>") + num(hits.size())
             + QLatin1String("</B> results returned, ranked by relevance.\n\n"
                             "<FORM ACTION=\"/magellan/search.gw\" METHOD=get>\n    <INPUT TYPE=hidden NAME=search VALUE=\"")
             + q + QLatin1String("\">\n    <INPUT TYPE=hidden NAME=look VALUE=magellan>\n    <INPUT TYPE=hidden NAME=start VALUE=")
             + num(start) + QLatin1String(">\n<!--search results-->\n\n");
        for (int i = start; i < end; ++i) {
            const SimDocument &d = doc(hits.at(i));
            p += QLatin1String("   <HR>\n  <B><A HREF=\"") + d.url + QLatin1String("\">") + html(d.title)
                 + QLatin1String("</A></B>&nbsp;&nbsp;&nbsp;\n  <B>") + percent(hits, i)
                 + QLatin1String("%</B>&nbsp;&nbsp;&nbsp;\n  <A HREF=\"/magellan/search.gw?look=magellan&qbe=")
                 + num(hits.at(i).index) + QLatin1String("\"><font size=\"-1\">[find similar]</font></A><BR>\n       ")
                 + html(d.summary) + QLatin1String("\n    <BR>\n  <I> <A HREF=\"") + d.url + QLatin1String("\">")
                 + html(d.url) + QLatin1String("</A></I>\n  <BR>\n");
        }
        p += QLatin1String(" <HR>\n</FORM>\n");
        if (end < hits.size()) {
            p += QLatin1String("<FORM ACTION=\"/magellan/search.gw\" METHOD=get>\n    <INPUT TYPE=hidden NAME=search VALUE=\"")
                 + q + QLatin1String("\">\n    <INPUT TYPE=hidden NAME=look VALUE=magellan>\n    <INPUT TYPE=hidden NAME=start VALUE=")
                 + num(end) + QLatin1String(">\n    <INPUT TYPE=submit NAME=next VALUE=\"Next Results\">\n</FORM>\n");
        }
        p += QLatin1String("</BLOCKQUOTE>\n");
    }
    p += QLatin1String("<CENTER><FONT SIZE=-1>Copyright &copy; 1998 The McKinley Group, Inc.</FONT></CENTER>\n"
                       "</BODY>\n</HTML>\n");
    return p;
}

QString PageWriter::yahoo(const EngineRequest &request, const QueryExpression &expression,
                          const QList<Corpus::Hit> &hits) const
{
    const QString q = html(request.queryText);
    const QStringList positive = expression.positiveWords();
    const QSet<QString> bold(positive.begin(), positive.end());
    const QList<Corpus::Hit> categories = m_categories.search(expression);

    // Categories come first, then sites; a page is a window over both.
    const int total = int(categories.size() + hits.size());
    const int start = request.start;
    const int end = std::min(start + kYahooPageSize, total);

    QString p = QLatin1String("<HTML><HEAD><TITLE>Yahoo! Search Results</TITLE>\n") + metaCharset()
                + QLatin1String("</HEAD><BODY><CENTER>\n<A HREF=\"/yahoo/\"><IMG SRC=\"/yahoo/images/main.gif\" WIDTH=460 "
                                "HEIGHT=59 BORDER=0 ALT=\"Yahoo!\"></A><P></CENTER>\n"
                                "<CENTER><HR WIDTH=\"80%\">Categories\n- <B>Sites</B>\n<HR WIDTH=\"80%\"></CENTER>\n");
    if (start >= total) {
        p += QLatin1String("<CENTER>Sorry, no matches were found containing <B>") + q
             + QLatin1String("</B>.</CENTER>\n<P>\n");
    } else {
        p += QLatin1String("<CENTER>Found <B>") + num(categories.size()) + QLatin1String("</B> Category and <B>")
             + num(hits.size()) + QLatin1String("</B> Site Matches for <B>") + q + QLatin1String("</B>.</CENTER>\n");
        const int catFrom = std::min<int>(start, categories.size());
        const int catTo = std::min<int>(end, categories.size());
        if (catFrom < catTo) {
            p += QLatin1String("<CENTER><H3><B>Yahoo! Category Matches</B> &nbsp; <FONT SIZE=\"-1\">(") + num(catFrom + 1)
                 + QLatin1String("&nbsp;-&nbsp;") + num(catTo) + QLatin1String("&nbsp;of&nbsp;") + num(categories.size())
                 + QLatin1String(")</FONT></H3></CENTER>\n<p>\n<UL>\n");
            for (int i = catFrom; i < catTo; ++i) {
                const SimDocument &c = m_categories.documents().at(categories.at(i).index);
                p += QLatin1String("<LI><A HREF=\"") + c.url + QLatin1String("\">") + boldWords(html(c.title), bold)
                     + QLatin1String("</A>\n");
            }
            p += QLatin1String("</UL>\n");
        }
        const int siteFrom = std::max(0, start - int(categories.size()));
        const int siteTo = std::max(0, end - int(categories.size()));
        if (siteFrom < siteTo) {
            p += QLatin1String("<CENTER><H3><B>Yahoo! Site Matches</B> &nbsp; <FONT SIZE=\"-1\">(") + num(siteFrom + 1)
                 + QLatin1String("&nbsp;-&nbsp;") + num(siteTo) + QLatin1String("&nbsp;of&nbsp;") + num(hits.size())
                 + QLatin1String(")</FONT></H3></CENTER>\n<p>\n");
            for (int i = siteFrom; i < siteTo; ++i) {
                const SimDocument &d = doc(hits.at(i));
                const QString category = d.category.isEmpty() ? QStringLiteral("Miscellaneous") : d.category;
                p += QLatin1String("<A HREF=\"http://") + m_serverAddress + QLatin1String("/yahoo/")
                     + QString::fromLatin1(QUrl::toPercentEncoding(categoryPath(category), "/"))
                     + QLatin1String("\">") + html(category) + QLatin1String("</A>\n<UL TYPE=disc><LI><A HREF=\"") + d.url
                     + QLatin1String("\">") + boldWords(html(d.title), bold) + QLatin1String("</A>\n - ")
                     + boldWords(html(d.summary), bold) + QLatin1String("</UL><p>\n");
            }
        }
        if (end < total) {
            // Yahoo wrote the query's blanks into the link as they were.
            p += QLatin1String("<CENTER>[<B><A HREF=\"/bin/search?p=") + form(request.queryText).replace(u'+', u' ')
                 + QLatin1String("&b=")
                 + num(end + 1) + QLatin1String("\">Next ") + num(kYahooPageSize)
                 + QLatin1String(" Matches</A></B>]</CENTER><P>\n");
        }
    }
    p += QLatin1String("<FORM METHOD=get ACTION=\"/yahoo/bin/search\">\n<CENTER>\n<INPUT SIZE=35 NAME=p VALUE=\"") + q
         + QLatin1String("\">\n<INPUT TYPE=submit VALUE=\"Search\">\n</CENTER>\n"
                         "<HR><CENTER><SMALL><I>Copyright &copy; 1994-98 Yahoo! All rights reserved.</I></SMALL>\n"
                         "</CENTER></FORM>\n</BODY></HTML>\n");
    return p;
}
