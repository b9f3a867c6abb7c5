// Reads a generated 10 MB answer of 20,000 results in each format of today's engines (RSS,
// Atom, metasearch JSON) and reports the time. The target is under 100 ms an answer in a
// Release build.
//
//   bench_feeds [runs]      (default 5 runs per format; the best and the median are shown,
//                            as wall-clock and as the thread's processor time)

#include "retrieval/opensearch/OpenSearchNamespaces.h"
#include "retrieval/opensearch/AtomReader.h"
#include "retrieval/opensearch/RssReader.h"
#include "retrieval/opensearch/SearxJsonReader.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

constexpr int kItems = 20000;
constexpr qsizetype kSize = 10 * 1024 * 1024;

// Summary text with some markup, as real answers carry it.
QByteArray words(int n, qsizetype length, bool escapedMarkup)
{
    static const char *const kWords[] = {"search", "engine", "results", "pages", "the", "web", "keeping",
                                         "lighthouse", "bread", "comet", "morris", "chess", "bees", "and"};
    QByteArray out;
    unsigned i = unsigned(n);
    while (out.size() < length) {
        if (i % 9 == 0)
            out += escapedMarkup ? QByteArray("&lt;b&gt;" + QByteArray(kWords[i % 14]) + "&lt;/b&gt; ")
                                 : QByteArray("<b>" + QByteArray(kWords[i % 14]) + "</b> ");
        else
            out += QByteArray(kWords[i % 14]) + ' ';
        i = i * 7 + 3;
    }
    return out;
}

double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

QByteArray num(int n) { return QByteArray::number(n); }

template<typename MakeItem>
QByteArray build(const QByteArray &head, const QByteArray &tail, MakeItem makeItem)
{
    const qsizetype pad = std::max<qsizetype>((kSize - head.size() - tail.size()) / kItems - makeItem(0, 0).size(), 16);
    QByteArray page = head;
    page.reserve(kSize + 4096);
    for (int i = 0; i < kItems; ++i)
        page += makeItem(i, pad);
    return page + tail;
}

QByteArray rss()
{
    return build("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\" xmlns:opensearch=\"" TRAWLEX_OPENSEARCH_NS "\">"
                 "<channel><title>bench</title><link>https://bench.example/</link><opensearch:totalResults>20000"
                 "</opensearch:totalResults><opensearch:itemsPerPage>20000</opensearch:itemsPerPage>\n",
                 "</channel></rss>\n", [](int i, qsizetype pad) -> QByteArray {
                     return "<item><title>Title " + num(i) + " &amp;amp; more</title><link>https://www.site" + num(i)
                         + ".example/page.html</link><description>" + words(i, pad, true) + "</description></item>\n";
                 });
}

QByteArray atom()
{
    return build("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<feed xmlns=\"http://www.w3.org/2005/Atom\" "
                 "xmlns:opensearch=\"" TRAWLEX_OPENSEARCH_NS "\"><title>bench</title>"
                 "<opensearch:totalResults>20000</opensearch:totalResults>\n",
                 "</feed>\n", [](int i, qsizetype pad) -> QByteArray {
                     return "<entry><title type=\"html\">Title " + num(i) + " &amp;amp; more</title><link rel=\"alternate\" "
                         "href=\"/page" + num(i) + ".html\"/><id>urn:bench:" + num(i) + "</id><summary type=\"html\">"
                         + words(i, pad, true) + "</summary></entry>\n";
                 });
}

QByteArray json()
{
    return build("{\"query\": \"bench\", \"number_of_results\": 20000, \"results\": [\n", "{}]}\n",
                 [](int i, qsizetype pad) -> QByteArray {
                     return "{\"url\": \"https://www.site" + num(i) + ".example/page.html\", \"title\": \"Title " + num(i)
                         + " &amp; more\", \"content\": \"" + words(i, pad, false) + "\", \"engine\": \"bench\"},\n";
                 });
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const QUrl address(QStringLiteral("https://bench.example/search?q=bench"));
    struct Format
    {
        const char *name;
        QByteArray (*make)();
        FeedPage (*read)(QByteArrayView, const QUrl &, const HitSink &);
    };
    const Format formats[] = {{"RSS", rss, RssReader::read}, {"Atom", atom, AtomReader::read}, {"JSON", json, SearxJsonReader::read}};
    bool allFast = true;
    std::printf("%-6s %8s %7s %9s %9s %9s %9s\n", "format", "page MB", "hits", "wall best", "wall med", "cpu best", "cpu med");
    for (const Format &format : formats) {
        const QByteArray page = format.make();
        std::vector<double> wall;
        std::vector<double> cpu;
        int hits = 0;
        for (int r = 0; r < runs; ++r) {
            hits = 0;
            QElapsedTimer timer;
            timer.start();
            const double cpuStart = cpuMs();
            const FeedPage info = format.read(page, address, [&hits](EngineHit &&) { ++hits; });
            cpu.push_back(cpuMs() - cpuStart);
            wall.push_back(double(timer.nsecsElapsed()) / 1e6);
            if (!info.ok())
                std::printf("%s: %s\n", format.name, qPrintable(info.error));
        }
        std::sort(wall.begin(), wall.end());
        std::sort(cpu.begin(), cpu.end());
        const double median = cpu[cpu.size() / 2];
        std::printf("%-6s %8.2f %7d %9.1f %9.1f %9.1f %9.1f\n", format.name, double(page.size()) / (1024.0 * 1024.0), hits,
                    wall.front(), wall[wall.size() / 2], cpu.front(), median);
        allFast = allFast && hits == kItems && median < 100.0;
    }
    std::printf(allFast ? "all formats: 20000 hits each, median processor time under 100 ms\n" : "SLOW or short of hits\n");
    return allFast ? 0 : 1;
}
