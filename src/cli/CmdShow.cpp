#include "CliCommand.h"
#include "CliDatabase.h"
#include "HitJson.h"

#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "query/QueryJson.h"
#include "store/CMainQueryTable.h"
#include "store/CTrawlexDoc.h"
#include "store/CStoredQueryDefinition.h"
#include "store/CStoredQueryResults.h"

#include <QTextStream>

#include <cstdio>

namespace {

const char kHelp[] =
    "Usage: trawlex-cli show QID [--db PATH]\n"
    "\n"
    "Prints the stored query QID: its definition as query JSON (the form `boolean` reads) on\n"
    "the first line, then one line per hit, in the order the results view lists them\n"
    "(hits found by an update first):\n"
    "  {\"title\":\"...\",\"url\":\"...\",\"summary\":\"...\",\"new\":false,\"engines\":[\"...\"]}\n"
    "\"engines\" names the engines that returned the hit, the first finder first; it is\n"
    "empty for hits stored before the engines were kept. All text is UTF-8.\n"
    "\n"
    "Exit status: 0 done, 1 database error or no such query, 2 bad arguments.\n";

void writeLine(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
}

int runShow(const QStringList &argsIn)
{
    QStringList args = argsIn;
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        QTextStream(stdout) << kHelp << CliDatabase::dbOptionHelp();
        return CliDatabase::ExitOk;
    }
    QString path;
    if (!CliDatabase::takeDbOption(args, path))
        return CliDatabase::ExitUsage;
    bool ok = false;
    const int qid = args.size() == 1 ? args.first().toInt(&ok) : 0;
    if (!ok) {
        QTextStream(stderr) << "trawlex-cli show: expected one QID (a whole number)\n" << kHelp;
        return CliDatabase::ExitUsage;
    }
    return CliDatabase::withDocument(path, [qid](CTrawlexDoc &doc) {
        if (doc.MainQueries().queryName(qid).isNull()) {
            QTextStream(stderr) << "trawlex-cli show: no stored query has QID " << qid << '\n';
            return CliDatabase::ExitFailure;
        }
        CTrawlexQuery query;
        CStoredQueryDefinition(doc.Database()).load(qid, query);
        CTrawlexQueryResults results;
        CStoredQueryResults(doc).load(results, qid);

        writeLine(QueryJson::ToJson(query));
        for (int i = 0; i < results.HitCount(); ++i)
            writeLine(HitJson::Line(results, i));
        std::fflush(stdout);
        return CliDatabase::ExitOk;
    });
}

const CliCommandRegistration reg({QStringLiteral("show"), QStringLiteral("print a stored query and its hits"),
                                  &runShow});

} // namespace
