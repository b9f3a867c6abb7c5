// How long exporting a large stored result list takes, in each format: the text alone and
// the whole write of the file. Target: under 100 ms for 10,000 hits in a Release build.
// Usage: bench_export [ROUNDS] [HITS]

#include "export/CResultsExporter.h"
#include "query/CTrawlexQueryResults.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

struct Figures
{
    double medianMs = 0;
    double bestMs = 0;
};

Figures measure(int rounds, const std::function<void()> &work)
{
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front()};
}

// Hits shaped like real ones: a summary of about 150 characters, some with the quotes,
// commas, line breaks, markup and non-ASCII letters that need escaping.
CTrawlexQueryResults hits(int n)
{
    QList<CTrawlexHit> list;
    for (int i = 0; i < n; ++i) {
        list.append({QStringLiteral("Result %1 \u2013 \"Caf\u00e9\" & <Co>, page title").arg(i),
                     QStringLiteral("http://www.example%1.com/path/to/page%2.html?q=a&b=%2").arg(i % 977).arg(i),
                     QStringLiteral("A summary of hit %1, as an engine cuts it: words, words and more words, "
                                    "with a line\r\nbreak now and then and a few letters like \u00fc and \u00df "
                                    "to end.").arg(i),
                     i % 7 == 0,
                     i % 3 == 0 ? QStringList{QStringLiteral("AltaVista"), QStringLiteral("HotBot")}
                                : QStringList{QStringLiteral("Lycos")}});
    }
    CTrawlexQueryResults r;
    r.SetHits(std::move(list));
    return r;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 21;
    const int count = argc > 2 ? std::max(1, QString::fromLocal8Bit(argv[2]).toInt()) : 10000;
    QTextStream out(stdout);
    QTemporaryDir dir;
    const CResultsExporter exporter(QStringLiteral("Benchmark query"), QDateTime::currentDateTime(), hits(count));

    out << "export of " << count << " hits, " << rounds << " rounds (median / best)\n";
    const struct { CResultsExporter::Format format; const char *name; } formats[] = {
        {CResultsExporter::Format::Csv, "csv"},
        {CResultsExporter::Format::Json, "json"},
        {CResultsExporter::Format::Bookmarks, "bookmarks"},
    };
    bool allUnder = true;
    for (const auto &f : formats) {
        qsizetype bytes = 0;
        const Figures text = measure(rounds, [&] { bytes = exporter.Render(f.format).size(); });
        const QString path = dir.filePath(QStringLiteral("out.") + CResultsExporter::FileSuffix(f.format));
        bool written = true;
        const Figures file = measure(rounds, [&] {
            QString error;
            written = exporter.WriteFile(path, f.format, error) && written;
        });
        allUnder = allUnder && file.medianMs < 100.0 && written;
        out << qSetFieldWidth(10) << Qt::left << f.name << qSetFieldWidth(0)
            << " text " << text.medianMs << " / " << text.bestMs << " ms,"
            << " file " << file.medianMs << " / " << file.bestMs << " ms, "
            << bytes / 1024 << " KiB" << (written ? "" : "  (write failed)") << '\n';
    }
    out << (allUnder ? "all formats under the 100 ms target\n" : "over the 100 ms target\n");
    return allUnder ? 0 : 1;
}
