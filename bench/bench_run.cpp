// A whole run over the local engine simulator: seven engines answering after 50 ms, four
// connections at a time. Two batches of 50 ms plus the hand-over and the save should stay
// within 150 ms; the process's peak resident memory within 50 MB.
//
//   bench_run [--sim PATH] [--latency MS] [--runs N] [--today] [--only NAME,NAME...]
// PATH defaults to trawlex-enginesim in the build folder (the parent of this program's).
// --today adds two of today's engines, the simulator's Atom description over verified HTTPS
// ("Sim Atom") and its metasearch instance ("Sim Searx"), to the seven; --only runs just the
// named engines (a run of one engine shows its cost beyond the answer time).

#include "app/IUserPrompt.h"
#include "query/CQuerySheetEntries.h"
#include "query/CTrawlexQueryResults.h"
#include "retrieval/web/EngineSources.h"
#include "run/CRunMonitor.h"
#include "run/CUserEngines.h"
#include "store/CDaoException.h"
#include "store/CSearchEngineTable.h"
#include "store/CTrawlexDatabase.h"
#include "store/CTrawlexDoc.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {

class AnswerYes final : public IUserPrompt
{
public:
    void showMessage(const QString &text) override { QTextStream(stderr) << text << '\n'; }
    bool askYesNo(const QString &) override { return true; }
};

QString argValue(const QStringList &args, const QString &name, const QString &fallback)
{
    const qsizetype i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args.at(i + 1) : fallback;
}

long peakResidentKb()
{
#ifdef Q_OS_LINUX
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').first().toLong();
        }
    }
#endif
    return -1;
}

bool pointAt(const QString &path, int port)
{
    try {
        CTrawlexDatabase::createFromSchema(path);
        CTrawlexDatabase db(path);
        CSearchEngineTable(db).setSimulatorAddresses(QStringLiteral("127.0.0.1:%1").arg(port));
        return true;
    } catch (const CDaoException &e) {
        QTextStream(stderr) << e.ReportText() << '\n';
        return false;
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const QStringList args = app.arguments();
    const QString simPath = argValue(args, QStringLiteral("--sim"),
                                     QDir(app.applicationDirPath()).filePath(QStringLiteral("../trawlex-enginesim")));
    const QString latency = argValue(args, QStringLiteral("--latency"), QStringLiteral("50"));
    const int runs = argValue(args, QStringLiteral("--runs"), QStringLiteral("20")).toInt();

    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const bool today = args.contains(QStringLiteral("--today"));
    QTemporaryDir dir;
    const QString certificate = dir.filePath(QStringLiteral("simulator.pem"));
    const QString httpsPortFile = dir.filePath(QStringLiteral("https-port"));
    QStringList simArgs{QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--latency"), latency};
    if (today)
        simArgs << QStringLiteral("--https-port") << QStringLiteral("0") << QStringLiteral("--https-port-file")
                << httpsPortFile << QStringLiteral("--cert-file") << certificate;
    sim.start(simPath, simArgs);
    if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(10000)) {
        QTextStream(stderr) << "bench_run: cannot start " << simPath << '\n';
        return 1;
    }
    const int port = sim.readLine().trimmed().mid(5).toInt();

    const QString dbPath = dir.filePath(QStringLiteral("tx.mdb"));
    if (!pointAt(dbPath, port))
        return 1;

    AnswerYes prompt;
    CTrawlexDoc doc;
    if (!doc.OpenDatabase(dbPath, &prompt))
        return 1;
    doc.LoadEngineAddressList();
    QStringList engines{QStringLiteral("AltaVista"), QStringLiteral("Excite"), QStringLiteral("HotBot"),
                        QStringLiteral("InfoSeek"), QStringLiteral("Lycos"), QStringLiteral("Magellan"),
                        QStringLiteral("Yahoo")};
    if (today) {
        QFile portFile(httpsPortFile);
        for (int i = 0; i < 100 && !(portFile.exists() && portFile.size() > 0 && QFile(certificate).size() > 0); ++i)
            sim.waitForReadyRead(50);
        if (!portFile.open(QIODevice::ReadOnly))
            return 1;
        const int httpsPort = portFile.readAll().trimmed().toInt();
        qputenv("TRAWLEX_CA_CERTIFICATES", certificate.toLocal8Bit());
        QString error;
        std::optional<EngineDefinition> atom = EngineSources::fromTemplate(
            QStringLiteral("https://127.0.0.1:%1/feed/atom?q={searchTerms}&start={startIndex}").arg(httpsPort),
            QStringLiteral("atom"), &error);
        std::optional<EngineDefinition> searx =
            EngineSources::fromInstance(QStringLiteral("http://127.0.0.1:%1/searx/").arg(port), FeedFormat::Json, &error);
        if (!atom || !searx)
            return 1;
        atom->name = QStringLiteral("Sim Atom");
        searx->name = QStringLiteral("Sim Searx");
        CUserEngines users(doc.Database());
        if (!users.add(*atom, &error) || !users.add(*searx, &error)) {
            QTextStream(stderr) << error << '\n';
            return 1;
        }
        engines << atom->name << searx->name;
    }
    const QString only = argValue(args, QStringLiteral("--only"), QString());
    if (!only.isEmpty())
        engines = only.split(QLatin1Char(','));
    CRunMonitor monitor(doc, prompt);
    monitor.SetLimits({true, 4, 60});

    CQuerySheetEntries entries;
    entries.m_strName = QStringLiteral("Bench");
    entries.m_keywordEntries = {QStringLiteral("include:travel")};
    entries.m_engines = engines;

    QList<double> times;
    QList<double> lastHits;
    int hits = 0;
    for (int i = 0; i < runs; ++i) {
        if (!monitor.CommitQuerySheet(entries))
            return 1;
        QEventLoop loop;
        CRunMonitor::Outcome outcome = CRunMonitor::Outcome::Stopped;
        auto conn = QObject::connect(&monitor, &CRunMonitor::runFinished, &loop, [&](CRunMonitor::Outcome o) {
            outcome = o;
            loop.quit();
        });
        QElapsedTimer clock;
        double lastHit = 0;
        auto hitConn = QObject::connect(&monitor, &CRunMonitor::progress, &loop, [&](int) { lastHit = clock.nsecsElapsed() / 1e6; });
        clock.start();
        monitor.StartRun(false);
        loop.exec();
        times << clock.nsecsElapsed() / 1e6;
        lastHits << lastHit;
        QObject::disconnect(conn);
        QObject::disconnect(hitConn);
        if (outcome != CRunMonitor::Outcome::Completed || !doc.ResultsSet().EngineLevels().failed.isEmpty()) {
            QTextStream(stderr) << "bench_run: run " << i << " did not complete cleanly\n";
            return 1;
        }
        hits = doc.ResultsSet().HitCount();
    }
    sim.terminate();
    sim.waitForFinished(3000);

    std::sort(times.begin(), times.end());
    QTextStream out(stdout);
    out << "runs " << runs << ", " << engines.size() << " engines, MaxConns 4, latency " << latency << " ms, " << hits << " hits stored per run\n";
    out << "run time incl. save (ms): min " << QString::number(times.first(), 'f', 1) << ", median "
        << QString::number(times.at(times.size() / 2), 'f', 1) << ", max " << QString::number(times.last(), 'f', 1) << '\n';
    std::sort(lastHits.begin(), lastHits.end());
    out << "last hit taken at (ms): median " << QString::number(lastHits.at(lastHits.size() / 2), 'f', 1) << '\n';
    out << "peak resident memory: " << peakResidentKb() / 1024.0 << " MB\n";
    const bool ok = times.at(times.size() / 2) <= 150.0 && peakResidentKb() < 50 * 1024;
    out << (ok ? "within 150 ms and 50 MB\n" : "OUTSIDE the 150 ms / 50 MB budget\n");
    return ok ? 0 : 1;
}
