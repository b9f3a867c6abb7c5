#include "CliCommand.h"
#include "CliDatabase.h"

#include "query/CTrawlexQuery.h"
#include "query/QueryJson.h"
#include "retrieval/QueryWords.h"

#include <QTextStream>

namespace {

const char kHelp[] =
    "Usage: trawlex-cli words QUERY.json\n"
    "\n"
    "Prints the words of the query's boolean text that the engines' requests are built from,\n"
    "one per line, in order. QUERY.json may be - for standard input.\n"
    "\n"
    "Exit status: 0 done, 2 bad arguments or query file.\n";

int runWords(const QStringList &args)
{
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        QTextStream(stdout) << kHelp;
        return CliDatabase::ExitOk;
    }
    if (args.size() != 1) {
        QTextStream(stderr) << "trawlex-cli words: expected one query file\n" << kHelp;
        return CliDatabase::ExitUsage;
    }
    CTrawlexQuery query;
    QString error;
    if (!QueryJson::ReadFile(args.first(), query, error)) {
        QTextStream(stderr) << "trawlex-cli words: " << error << '\n';
        return CliDatabase::ExitUsage;
    }
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    for (const QString &word : SplitQueryWords(query.GetBooleanText()))
        out << word << '\n';
    return CliDatabase::ExitOk;
}

const CliCommandRegistration kRegistration({QStringLiteral("words"),
                                            QStringLiteral("the words the engines are sent, one per line"),
                                            &runWords});

} // namespace
