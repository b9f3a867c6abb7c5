#include "CliCommand.h"
#include "CliDatabase.h"

#include "query/CTrawlexQuery.h"
#include "query/QueryJson.h"

#include <QTextStream>

#include <cstdio>

namespace {

const char kHelp[] =
    "Usage: trawlex-cli boolean QUERY.json\n"
    "\n"
    "Prints the query's boolean text exactly as the engines' requests are built from it:\n"
    "UTF-8, every line ending in CR LF, nothing else (an empty query prints nothing).\n"
    "QUERY.json (\"-\" reads standard input), every key optional:\n"
    "  {\"name\": \"...\", \"keywords\": [\"include:apple\"], \"groups\": [\"include:fruit\"],\n"
    "   \"members\": [\"fruit:exclude:plum\"], \"filters\": [\"URL:exclude:spam\"],\n"
    "   \"engines\": [\"AltaVista\", \"Yahoo\"]}\n"
    "\n"
    "Exit status: 0 done, 2 bad arguments or a bad query file.\n";

int runBoolean(const QStringList &argsIn)
{
    QStringList args = argsIn;
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        QTextStream(stdout) << kHelp;
        return CliDatabase::ExitOk;
    }
    // The database is not needed; accept the option every command takes.
    QString unusedPath;
    if (!CliDatabase::takeDbOption(args, unusedPath))
        return CliDatabase::ExitUsage;
    if (args.size() != 1) {
        QTextStream(stderr) << "trawlex-cli boolean: expected one query file\n" << kHelp;
        return CliDatabase::ExitUsage;
    }
    CTrawlexQuery query;
    QString error;
    if (!QueryJson::ReadFile(args.first(), query, error)) {
        QTextStream err(stderr);
        err.setEncoding(QStringConverter::Utf8);
        err << "trawlex-cli boolean: " << error << '\n';
        return CliDatabase::ExitUsage;
    }
    const QByteArray text = query.GetBooleanText().toUtf8();
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fflush(stdout);
    return CliDatabase::ExitOk;
}

const CliCommandRegistration reg({QStringLiteral("boolean"), QStringLiteral("print the boolean text of a query file"),
                                  &runBoolean});

} // namespace
