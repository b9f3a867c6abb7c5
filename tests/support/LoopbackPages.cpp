#include "LoopbackPages.h"

namespace LoopbackPages {

QList<Hit> sampleHits(int n, const QByteArray &tag)
{
    QList<Hit> hits;
    for (int i = 1; i <= n; ++i) {
        const QByteArray k = QByteArray::number(i);
        hits.append({"Title " + tag + ' ' + k, "http://" + tag + ".example/" + k + ".html",
                     "summary of " + tag + ' ' + k});
    }
    return hits;
}

QByteArray httpOk(const QByteArray &body)
{
    return "HTTP/1.0 200 OK\r\nServer: Loopback/1.0\r\nContent-Type: text/html\r\n\r\n" + body;
}

QByteArray altaVista(const QList<Hit> &hits)
{
    QByteArray body = "<HTML><HEAD><TITLE>AltaVista: Advanced Query</TITLE></HEAD>\n"
                      "<BODY BGCOLOR=\"#ffffff\">\n<font size=-1>Documents 1-10 of about 3000.</font>\n<dl>\n";
    int n = 0;
    for (const Hit &h : hits) {
        body += "<dt><font size=-1><b>" + QByteArray::number(++n) + ". </b></font><a href=\"" + h.url
            + "\"><strong>" + h.title + "</strong></a><dd>" + h.summary + "<br><cite>" + h.url
            + " - size 2K - 12 Jan 98</cite>\n";
    }
    body += "</dl>\n</BODY></HTML>\n";
    return httpOk(body);
}

QByteArray hotBot(const QList<Hit> &hits)
{
    QByteArray body = "<HTML><HEAD><TITLE>HotBot results</TITLE></HEAD><BODY>\n<TABLE>\n";
    int n = 0;
    for (const Hit &h : hits) {
        ++n;
        body += "<TR><TD><B>" + QByteArray::number(n) + ".</B><FONT SIZE=-1>9" + QByteArray::number(n)
            + "%</FONT></TD><TD><A HREF=\"" + h.url + "\">" + h.title
            + "</A><BR><FONT SIZE=-1>web</FONT></TD><TD>" + h.summary + "<BR>\n</TD></TR>\n";
    }
    body += "</TABLE>\n</BODY></HTML>\n";
    return httpOk(body);
}

QByteArray yahoo(const QList<Hit> &categories, const QList<Hit> &sites, const QByteArray &nextSet)
{
    QByteArray body = "<HTML><HEAD><TITLE>Yahoo! Search Results</TITLE></HEAD><BODY>\n";
    if (!categories.isEmpty()) {
        body += "<B>Yahoo! Category Matches</B> (1 - " + QByteArray::number(categories.size()) + ")<p>\n<UL>\n";
        for (const Hit &h : categories)
            body += "<LI><A HREF=\"" + h.url + "\">" + h.title + "</A>\n";
        body += "</UL>\n<CENTER><HR></CENTER>\n";
    }
    if (!sites.isEmpty()) {
        body += "<B>Yahoo! Site Matches</B> (1 - " + QByteArray::number(sites.size()) + ")\n<UL TYPE=disc>\n";
        for (const Hit &h : sites)
            body += "<LI><A HREF=\"" + h.url + "\">" + h.title + "</A> - " + h.summary + "\n";
        body += "</UL>\n";
    }
    if (!nextSet.isEmpty())
        body += "<CENTER><B>[ <A HREF=\"" + nextSet + "\">Next 20 Matches</A></B>]</CENTER><P>\n";
    else
        body += "<CENTER>end</CENTER>\n";
    body += "</BODY></HTML>\n";
    return httpOk(body);
}

QByteArray noResults()
{
    return httpOk("<HTML><HEAD><TITLE>Search</TITLE></HEAD><BODY>No documents match.</BODY></HTML>\n");
}

QByteArray hotBotMoved(const QByteArray &location)
{
    return "HTTP/1.0 302 Moved\r\nLocation: " + location
        + "\r\nContent-Type: text/html\r\n\r\n<HTML><BODY>Moved <A HREF=\"" + location
        + "\">here</A></BODY></HTML>\n";
}

} // namespace LoopbackPages
