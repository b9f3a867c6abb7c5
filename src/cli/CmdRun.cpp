#include "CliCommand.h"
#include "CliDatabase.h"
#include "CliRunProgress.h"
#include "HitJson.h"

#include "app/CTrawlexSettings.h"
#include "query/CQuerySheetEntries.h"
#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "query/QueryJson.h"
#include "run/CQueryCommands.h"
#include "run/CRunMonitor.h"
#include "store/CMainQueryTable.h"
#include "store/CTrawlexDoc.h"
#include "views/CResultsPaging.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

const char kHelp[] =
    "Usage: trawlex-cli run QUERY.json [--overwrite] [OPTIONS]\n"
    "       trawlex-cli run --qid N [--overwrite] [OPTIONS]\n"
    "       trawlex-cli run --update --qid N [OPTIONS]\n"
    "       trawlex-cli run --more --qid N [OPTIONS]\n"
    "\n"
    "Runs a query against its search engines and stores it and its hits in the database, as\n"
    "the desktop program does:\n"
    "  QUERY.json        a new query (\"-\" reads standard input); see `boolean --help`\n"
    "  --qid N           the stored query N again as a fresh run (Open Query, then OK)\n"
    "  --update --qid N  Update Query: hits found now are marked new and come first; passes\n"
    "                    go on while they bring new hits, up to the query's level\n"
    "  --more --qid N    asks every engine of query N for its next result page\n"
    "  --overwrite       answers Yes when a stored query of the same name exists (it is\n"
    "                    replaced when the run's first pass is stored); without it, No\n"
    "  --max-conns N     engines asked at the same time for this run (1 to 4)\n"
    "  --max-delay S     each engine's time limit in seconds for this run (1 or more);\n"
    "                    the run times out when no engine ends for engines x S seconds\n"
    "\n"
    "Progress goes to stderr (a bar on a terminal, plain lines otherwise). At the end stdout\n"
    "gets the completion message, then one line per hit, in the results view's order:\n"
    "  {\"title\":\"...\",\"url\":\"...\",\"summary\":\"...\",\"new\":false,\"engines\":[\"...\"]}\n"
    "where \"engines\" names the engines that returned the hit, the first finder first.\n"
    "The settings' connection type applies: a dial-up (\"Dial\") user needs a dial-up link.\n"
    "\n"
    "Exit status: 0 the run completed (engines that failed are named in the message),\n"
    "1 database error, no Internet session, time-out or failed save, 2 bad arguments or a\n"
    "query the rules refuse (the rule's message is on stderr).\n";

struct Options
{
    QString queryFile;
    int qid = -1;
    bool update = false;
    bool more = false;
    bool overwrite = false;
    std::optional<int> maxConns;
    std::optional<int> maxDelay;
    QString dbPath;
};

int usage(const QString &problem)
{
    QTextStream(stderr) << "trawlex-cli run: " << problem << "\n\n" << kHelp << CliDatabase::dbOptionHelp();
    return CliDatabase::ExitUsage;
}

bool takeNumber(QStringList &args, qsizetype i, int &value)
{
    if (i + 1 >= args.size())
        return false;
    bool ok = false;
    value = args.at(i + 1).toInt(&ok);
    args.remove(i, 2);
    return ok;
}

// Fills options; an empty return means success, otherwise the problem.
QString parse(QStringList args, Options &o)
{
    if (!CliDatabase::takeDbOption(args, o.dbPath))
        return QStringLiteral("--db needs a file name");
    for (qsizetype i = 0; i < args.size();) {
        const QString a = args.at(i);
        int n = 0;
        if (a == QLatin1String("--overwrite")) {
            o.overwrite = true;
            args.removeAt(i);
        } else if (a == QLatin1String("--update")) {
            o.update = true;
            args.removeAt(i);
        } else if (a == QLatin1String("--more")) {
            o.more = true;
            args.removeAt(i);
        } else if (a == QLatin1String("--qid")) {
            if (!takeNumber(args, i, n) || n < 0)
                return QStringLiteral("--qid needs a query number");
            o.qid = n;
        } else if (a == QLatin1String("--max-conns")) {
            if (!takeNumber(args, i, n) || n < 1 || n > 4)
                return QStringLiteral("--max-conns needs a number from 1 to 4");
            o.maxConns = n;
        } else if (a == QLatin1String("--max-delay")) {
            if (!takeNumber(args, i, n) || n < 1)
                return QStringLiteral("--max-delay needs a number of seconds (1 or more)");
            o.maxDelay = n;
        } else if (a.startsWith(QLatin1String("--")) && a != QLatin1String("--")) {
            return QStringLiteral("unknown option ") + a;
        } else {
            if (!o.queryFile.isEmpty())
                return QStringLiteral("only one query file may be given");
            o.queryFile = a;
            args.removeAt(i);
        }
    }
    if (o.update && o.more)
        return QStringLiteral("--update and --more exclude each other");
    if (!o.queryFile.isEmpty() && o.qid != -1)
        return QStringLiteral("give either a query file or --qid, not both");
    if (o.queryFile.isEmpty() && o.qid == -1)
        return QStringLiteral("give a query file or --qid N");
    if ((o.update || o.more) && o.qid == -1)
        return QStringLiteral("--update and --more need --qid N");
    if ((o.update || o.more) && o.overwrite)
        return QStringLiteral("--overwrite belongs to new and fresh runs only");
    return {};
}

void writeLine(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
}

void printHits(const CTrawlexQueryResults &results)
{
    for (int i = 0; i < results.HitCount(); ++i)
        writeLine(HitJson::Line(results, i));
}

int runQuery(CTrawlexDoc &doc, const Options &o, CliUserPrompt &prompt)
{
    doc.LoadEngineAddressList();

    CTrawlexSettings settings;
    settings.load();
    CRunMonitor::Limits limits;
    // Without a window there is no connection dialog: the connection counts as direct unless
    // the user chose dial-up.
    limits.directConnection = settings.connection() != CTrawlexSettings::Connection::Dial;
    limits.maxConns = o.maxConns.value_or(settings.MaxConns);
    limits.maxDelay = o.maxDelay.value_or(settings.MaxDelay);

    CRunMonitor monitor(doc, prompt);
    CQueryCommands commands(doc, prompt);
    commands.setRunMonitor(&monitor);
    commands.setLimits([limits] { return limits; });

    if (o.qid != -1 && doc.MainQueries().queryName(o.qid).isNull()) {
        QTextStream(stderr) << "trawlex-cli run: no stored query has QID " << o.qid << '\n';
        return CliDatabase::ExitFailure;
    }

    CliRunProgress progress;
    QObject::connect(&monitor, &CRunMonitor::statusText, &monitor, [&progress](const QString &t) { progress.status(t); });
    QObject::connect(&monitor, &CRunMonitor::progress, &monitor, [&progress](int p) { progress.progress(p); });
    QString finalMessage;
    QObject::connect(&monitor, &CRunMonitor::completionMessage, &monitor, [&finalMessage](const QString &t) { finalMessage = t; });
    QObject::connect(&monitor, &CRunMonitor::timeoutMessage, &monitor, [&finalMessage](const QString &t) { finalMessage = t; });
    std::optional<CRunMonitor::Outcome> outcome;
    QEventLoop loop;
    QObject::connect(&monitor, &CRunMonitor::runFinished, &loop, [&outcome, &loop](CRunMonitor::Outcome out) {
        outcome = out;
        loop.quit();
    });

    // A stored query is first selected, as in the tree, before Open, Update or More.
    if (o.qid != -1 && !commands.showStoredQuery(o.qid))
        return CliDatabase::ExitFailure;
    bool started = false;
    if (o.update) {
        // Update Query: the stored query runs again without the sheet.
        started = commands.updateQuery(o.qid);
    } else if (o.more) {
        // "More" past the last page held: the view stands after the pages of the hits held.
        monitor.SetPageIndex(std::max(1, commands.results().HitCount() / CResultsPaging::kHitsPerPage));
        started = commands.moreResults();
    } else {
        CQuerySheetEntries entries;
        if (o.qid != -1) {
            // Open Query: the sheet shows the stored query; OK commits it.
            entries = CQuerySheetEntries::FromQuery(commands.query());
        } else {
            CTrawlexQuery fromFile;
            QString error;
            if (!QueryJson::ReadFile(o.queryFile, fromFile, error)) {
                QTextStream(stderr) << "trawlex-cli run: " << error << '\n';
                return CliDatabase::ExitUsage;
            }
            entries = CQuerySheetEntries::FromQuery(fromFile);
        }
        switch (commands.commitSheet(entries)) {
        case CQueryCommands::Commit::Committed:
            break;
        case CQueryCommands::Commit::Refused:
            return CliDatabase::ExitUsage;
        case CQueryCommands::Commit::Failed:
            return CliDatabase::ExitFailure;
        }
        started = commands.runCommitted();
    }
    if (!started)
        return CliDatabase::ExitFailure;

    loop.exec();
    progress.finish();

    switch (outcome.value_or(CRunMonitor::Outcome::Stopped)) {
    case CRunMonitor::Outcome::Completed:
        writeLine(finalMessage.toUtf8());
        printHits(commands.results());
        std::fflush(stdout);
        return CliDatabase::ExitOk;
    case CRunMonitor::Outcome::TimedOut:
        QTextStream(stderr) << finalMessage << '\n';
        return CliDatabase::ExitFailure;
    case CRunMonitor::Outcome::SaveFailed:
    case CRunMonitor::Outcome::Stopped:
        break;
    }
    return CliDatabase::ExitFailure;
}

int runRun(const QStringList &args)
{
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        QTextStream(stdout) << kHelp << CliDatabase::dbOptionHelp();
        return CliDatabase::ExitOk;
    }
    Options o;
    const QString problem = parse(args, o);
    if (!problem.isEmpty())
        return usage(problem);
    CliUserPrompt prompt(o.overwrite);
    return CliDatabase::withDocument(o.dbPath, [&o, &prompt](CTrawlexDoc &doc) { return runQuery(doc, o, prompt); },
                                     &prompt);
}

const CliCommandRegistration reg({QStringLiteral("run"), QStringLiteral("run a query against the engines and store it"),
                                  &runRun});

} // namespace
