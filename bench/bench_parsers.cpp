// Parses a generated 10 MB result page holding 20,000 hits for each engine and reports the
// time. Every parser must stay linear in the page size: the target is under 100 ms a page.
//
//   bench_parsers [runs]      (default 5 runs per engine; the best and the median are shown,
//                              as wall-clock and as the thread's processor time)

#include "retrieval/engines/EngineParsers.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kHits = 20000;
constexpr qsizetype kPageSize = 10 * 1024 * 1024;

// Filler words for summaries, so a hit is about kPageSize / kHits bytes long.
QByteArray words(int n, int length)
{
    static const char *const kWords[] = {"search", "engine", "results", "pages", "the", "web", "keeping",
                                         "lighthouse", "bread", "comet", "morris", "chess", "bees", "and"};
    QByteArray out;
    unsigned i = unsigned(n);
    while (out.size() < length) {
        out += kWords[i % 14];
        out += ' ';
        i = i * 7 + 3;
    }
    return out;
}

// The thread's own processor time: on a machine shared with other work the wall clock also
// counts the time others had the processor.
double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

QByteArray num(int n) { return QByteArray::number(n); }

// Adds hits until the page reaches its size, keeping their count at kHits.
template<typename MakeHit>
QByteArray build(const QByteArray &head, const QByteArray &tail, MakeHit makeHit)
{
    const int pad = int((kPageSize - head.size() - tail.size()) / kHits) - int(makeHit(0, 0).size());
    QByteArray page = head;
    page.reserve(kPageSize + 4096);
    for (int i = 0; i < kHits; ++i)
        page += makeHit(i, std::max(pad, 16));
    return page + tail;
}

QByteArray altaVista()
{
    return build("<html><head><title>AltaVista: Simple Query bench</title></head><body><dl>\n", "</dl></BODY></HTML>\n",
                 [](int i, int pad) -> QByteArray {
                     const QByteArray url = "http://www.site" + num(i) + ".com/page.html";
                     return "<dt><font size=-1><b>" + num(i + 1) + ". </b></font><a href=\"" + url + "\"><strong>Title "
                         + num(i) + "</strong></a><dd>" + words(i, pad) + "<br><cite><a href=\"" + url + "\">" + url
                         + "</a> - size 4K - 1-Oct-97 - English</cite><br>\n<P>";
                 });
}

QByteArray excite()
{
    return build("<HTML><BODY><A HREF=\"/s?sort=site\"><B>List by Web site</B></A>&nbsp;\n<P>\n", "<FORM ACTION=\"/search.gw\"></FORM></BODY></HTML>\n",
                 [](int i, int pad) -> QByteArray {
                     const QByteArray url = "http://www.site" + num(i) + ".com/page.html";
                     return "<FONT COLOR=navy><B>61% </B></FONT> <B><A HREF=\"" + url + "\">Title " + num(i)
                         + "</A></B>&nbsp;\n <BR><B><I>URL: </I></B>" + url + "  <BR><B><I>Summary: </I></B> "
                         + words(i, pad) + " <BR><B><I>More Like This:</I></B><P>\n";
                 });
}

QByteArray hotBot()
{
    return build("<HTML><BODY><TABLE>\n", "</TABLE></BODY></HTML>\n", [](int i, int pad) -> QByteArray {
        const QByteArray url = "http://www.site" + num(i) + ".com/page.html";
        return "<TR><TD><B>" + num(i + 1) + ". </B></TD>\n<TD><A HREF=\"" + url + "\">Title " + num(i)
            + "</A></TD></TR>\n<TR><TD><FONT size=-1>97%</FONT></TD>\n<TD >" + words(i, pad) + "<BR>\n" + url
            + ", 4127 bytes, 26Jan98</TD></TR>\n";
    });
}

QByteArray infoSeek()
{
    return build("<html><body><font face=\"Arial,Helvetica\" color=\"FFFFFF\"><b>Search results</b></font><p>\n",
                 "<font color=\"FFFFFF\" size=0>xxxxxx</font></body></html>\n", [](int i, int pad) -> QByteArray {
                     return "<b><a href=\"http://www.site" + num(i) + ".com/page.html\">Title " + num(i) + "</a></b><br>\n"
                         + words(i, pad) + "<br>\n<font size=-1>81%</font><p>\n";
                 });
}

QByteArray lycos()
{
    return build("<HTML><BODY><!--- Formatted results start here --->\n<TABLE CELLPADDING=4 CELLSPACING=0 BORDER=0>\n",
                 "</TABLE>\n<!--- end formatted results --->\n</BODY></HTML>\n", [](int i, int pad) -> QByteArray {
                     return "<TR><TD>" + num(i + 1) + ")</TD><TD><b><a href=\"http://www.site" + num(i) + ".com/page.html\">Title "
                         + num(i) + "</a></b><br>" + words(i, pad) + "\n</TD></TR>\n";
                 });
}

QByteArray magellan()
{
    return build("<HTML><BODY><FORM><!--search results-->\n", " <HR>\n</FORM></BODY></HTML>\n", [](int i, int pad) -> QByteArray {
        const QByteArray url = "http://www.site" + num(i) + ".com/page.html";
        return "   <HR>\n  <B><A HREF=\"" + url + "\">\n  Title " + num(i) + "  \n</A></B>\n  <B>54%</B>\n"
            + "  <A HREF=\"/similar\">[find similar]</A><BR>\n       " + words(i, pad) + "\n    <BR>\n  <I>" + url + "</I>\n";
    });
}

QByteArray yahoo()
{
    // Half the hits are category matches, half site matches.
    QByteArray page = "<HTML><HEAD><TITLE>Yahoo! Search Results</TITLE></HEAD><BODY>\n<B>Yahoo! Category Matches</B><p>\n<UL>\n";
    page.reserve(kPageSize + 4096);
    const int pad = int(kPageSize / kHits) - 60;
    for (int i = 0; i < kHits / 2; ++i)
        page += "<LI><A HREF=\"http://www.yahoo.com/Category" + num(i) + "/\">Category: <b>" + num(i) + "</b> "
            + words(i, pad / 2) + "</A>\n";
    page += "</UL>\n<CENTER><B>Yahoo! Site Matches</B></CENTER>\n<UL TYPE=disc>\n";
    for (int i = 0; i < kHits / 2; ++i)
        page += "<LI><A HREF=\"http://www.site" + num(i) + ".com/\">Site " + num(i) + "</A> - " + words(i, pad + pad / 2) + "\n";
    page += "</UL>\n<CENTER>[<B><A HREF=\"/bin/search?p=bench&b=21\">Next 20 Matches</A></B>]</CENTER><P>\n</BODY></HTML>\n";
    return page;
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    struct Engine
    {
        const char *name;
        QByteArray (*make)();
    };
    const Engine engines[] = {{"AltaVista", altaVista}, {"Excite", excite},     {"HotBot", hotBot}, {"InfoSeek", infoSeek},
                              {"Lycos", lycos},         {"Magellan", magellan}, {"Yahoo", yahoo}};
    bool allFast = true;
    std::printf("%-10s %8s %7s %9s %9s %9s %9s\n", "engine", "page MB", "hits", "wall best", "wall med", "cpu best",
                "cpu med");
    for (const Engine &engine : engines) {
        const QByteArray page = engine.make();
        std::vector<double> wall;
        std::vector<double> cpu;
        int hits = 0;
        for (int r = 0; r < runs; ++r) {
            hits = 0;
            QElapsedTimer timer;
            timer.start();
            const double cpuStart = cpuMs();
            EngineParsers::parse(QString::fromLatin1(engine.name), page, [&hits](EngineHit &&) { ++hits; });
            cpu.push_back(cpuMs() - cpuStart);
            wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        std::sort(wall.begin(), wall.end());
        std::sort(cpu.begin(), cpu.end());
        const double median = cpu[cpu.size() / 2];
        std::printf("%-10s %8.2f %7d %9.1f %9.1f %9.1f %9.1f\n", engine.name, double(page.size()) / (1024.0 * 1024.0),
                    hits, wall.front(), wall[wall.size() / 2], cpu.front(), median);
        allFast = allFast && hits == kHits && median < 100.0;
    }
    std::printf(allFast ? "all engines: 20000 hits each, median processor time under 100 ms\n"
                        : "SLOW or short of hits\n");
    return allFast ? 0 : 1;
}
