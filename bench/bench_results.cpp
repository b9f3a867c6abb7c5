// How long the results set takes with large runs: adding hits, saving them, loading them,
// each hit with the engines that returned it.
// Usage: bench_results [ROUNDS]   (needs the pre-built tx.mdb beside the build's binaries)

#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "app/IUserPrompt.h"
#include "store/CStoredQueryResults.h"
#include "store/CTrawlexDoc.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <ctime>
#include <functional>

namespace {


// Wall-clock and processor milliseconds of the fastest of rounds runs; prepare runs before
// each, untimed. Processor time shows the cost when other programs crowd the machine.
struct Timing
{
    double wallMs = 1e12;
    double cpuMs = 1e12;
};

Timing fastest(int rounds, const std::function<void()> &prepare, const std::function<void()> &work)
{
    Timing best;
    for (int i = 0; i < rounds; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        const std::clock_t cpuStart = std::clock();
        work();
        const double cpu = double(std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC;
        best.wallMs = std::min(best.wallMs, timer.nsecsElapsed() / 1e6);
        best.cpuMs = std::min(best.cpuMs, cpu);
    }
    return best;
}

QTextStream &operator<<(QTextStream &out, const Timing &t)
{
    return out << t.wallMs << " ms wall, " << t.cpuMs << " ms processor";
}

struct StderrPrompt final : IUserPrompt {
    void showMessage(const QString &text) override { QTextStream(stderr) << text << '\n'; }
    bool askYesNo(const QString &) override { return false; }
};

QString hitUrl(int i)
{
    return QStringLiteral("http://www.example%1.com/path/to/page%2.html").arg(i % 977).arg(i);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTextStream out(stdout);

    // Texts made before timing so only the results set is measured.
    constexpr int kAddCount = 100000;
    QStringList titles, urls, summaries;
    for (int i = 0; i < kAddCount; ++i) {
        titles << QStringLiteral("Title of page %1").arg(i);
        urls << hitUrl(i);
        summaries << QStringLiteral("A summary of page %1, long enough to look like an engine's two lines of text "
                                    "about what the page holds, and then some more words to pass the limit %1.")
                         .arg(i);
    }

    const QStringList engines{QStringLiteral("AltaVista"), QStringLiteral("Excite"), QStringLiteral("HotBot"),
                              QStringLiteral("InfoSeek"), QStringLiteral("Lycos"), QStringLiteral("Magellan"),
                              QStringLiteral("Yahoo")};

    CTrawlexQueryResults adder;
    const Timing addMs = fastest(
        rounds, [&] { adder = CTrawlexQueryResults(); },
        [&] {
            for (int i = 0; i < kAddCount; ++i)
                adder.AddResult(titles.at(i), urls.at(i), summaries.at(i), false, engines.at(i % 7));
        });
    if (adder.HitCount() != kAddCount)
        return 1;
    out << "AddResult, " << kAddCount << " distinct hits: " << addMs << " (limit 100)\n";

    QTemporaryDir dir;
    const QString prebuilt = QCoreApplication::applicationDirPath() + QStringLiteral("/../tx.mdb");
    const QString path = dir.filePath(QStringLiteral("tx.mdb"));
    if (!QFile::copy(QFile::exists(prebuilt) ? prebuilt : QStringLiteral("tx.mdb"), path)) {
        out << "no pre-built tx.mdb found at " << prebuilt << '\n';
        return 1;
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    CTrawlexDoc doc;
    if (!doc.OpenDatabase(path, nullptr))
        return 1;

    CTrawlexQuery query;
    query.m_strName = QStringLiteral("bench");
    query.m_keywords = {{QStringLiteral("apple"), QStringLiteral("include")}};
    query.m_engines = {QStringLiteral("AltaVista"), QStringLiteral("Yahoo")};

    constexpr int kSaveCount = 10000;
    StderrPrompt prompt;
    CTrawlexQueryResults saver;
    bool saved = true;
    const Timing saveMs = fastest(
        rounds,
        [&] {
            saver = CTrawlexQueryResults();
            // One hit in three was returned by a second engine as well.
            for (int i = 0; i < kSaveCount; ++i) {
                saver.AddResult(titles.at(i), urls.at(i), summaries.at(i), false, engines.at(0));
                if (i % 3 == 0)
                    saver.AddResult(titles.at(i), urls.at(i), summaries.at(i), false, engines.at(2));
            }
            saver.SetLevel(1);
            saver.EngineLevels().reported = query.m_engines;
            saver.SetYahooPath(QStringLiteral("/search?p=apple&b=21"));
        },
        [&] { saved = CStoredQueryResults(doc).save(saver, query, prompt) && saved; });
    if (!saved)
        return 1;
    out << "SaveQueryAndResults, " << kSaveCount << " hits: " << saveMs << " (limit 250)\n";

    CTrawlexQueryResults loader;
    const Timing loadMs = fastest(rounds, [] {}, [&] { CStoredQueryResults(doc).load(loader, saver.Qid()); });
    if (loader.HitCount() != kSaveCount || loader.engines(0).size() != 2)
        return 1;
    out << "LoadStoredResults, " << kSaveCount << " hits: " << loadMs << " (limit 100)\n";
    return 0;
}
