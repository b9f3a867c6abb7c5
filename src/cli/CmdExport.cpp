#include "CliCommand.h"
#include "CliDatabase.h"

#include "export/CResultsExporter.h"
#include "store/CTrawlexDoc.h"

#include <QCommandLineParser>
#include <QFile>
#include <QTextStream>

namespace {

const char kDescription[] =
    "Writes the hits of the stored query QID, in the order the results view lists them, as\n"
    "  csv        a table with a header row (title,url,summary,new,engines), CRLF line ends,\n"
    "             UTF-8 with a byte order mark; engines are joined by \"; \"; a text starting\n"
    "             with = + - or @ gets a leading apostrophe so that spreadsheets do not take it\n"
    "             for a formula\n"
    "  json       {\"hits\":[{\"title\",\"url\",\"summary\",\"new\",\"engines\":[...]}...],\n"
    "             \"query\":NAME,\"retrieved\":DATE}\n"
    "  bookmarks  an HTML bookmarks file browsers import: one folder named after the query\n"
    "to FILE, or to standard output without -o. FILE is replaced only once it is complete.\n"
    "Exit status: 0 done, 1 database error, no such query or the file cannot be written,\n"
    "2 bad arguments.";

int fail(int status, const QString &message)
{
    QTextStream(stderr) << "trawlex-cli export: " << message << '\n';
    return status;
}

int runExport(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("QID"), QStringLiteral("the stored query (a whole number)"));
    const QCommandLineOption format(QStringLiteral("format"), QStringLiteral("csv, json or bookmarks"),
                                    QStringLiteral("FORMAT"));
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("the file to write (default: standard output)"),
                                    QStringLiteral("FILE"));
    const QCommandLineOption db(QStringLiteral("db"), QStringLiteral("database file (default: tx.mdb here)"),
                                QStringLiteral("PATH"), CliDatabase::defaultPath());
    parser.addOptions({format, output, db});
    if (!parser.parse(QStringList{QStringLiteral("trawlex-cli export")} + args))
        return fail(CliDatabase::ExitUsage, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        return CliDatabase::ExitOk;
    }
    const QStringList positional = parser.positionalArguments();
    bool ok = false;
    const int qid = positional.size() == 1 ? positional.first().toInt(&ok) : 0;
    if (!ok)
        return fail(CliDatabase::ExitUsage, QStringLiteral("expected one QID (a whole number; see --help)"));
    if (!parser.isSet(format))
        return fail(CliDatabase::ExitUsage, QStringLiteral("--format is needed: csv, json or bookmarks"));
    const std::optional<CResultsExporter::Format> chosen = CResultsExporter::FormatFromName(parser.value(format));
    if (!chosen)
        return fail(CliDatabase::ExitUsage, QStringLiteral("--format must be csv, json or bookmarks"));
    if (parser.isSet(output) && parser.value(output).isEmpty())
        return fail(CliDatabase::ExitUsage, QStringLiteral("-o needs a file name"));

    return CliDatabase::withDocument(parser.value(db), [&](CTrawlexDoc &doc) {
        const std::optional<CResultsExporter> exporter = CResultsExporter::FromStoredQuery(doc, qid);
        if (!exporter)
            return fail(CliDatabase::ExitFailure, QStringLiteral("no stored query has QID %1").arg(qid));
        if (parser.isSet(output)) {
            QString error;
            if (!exporter->WriteFile(parser.value(output), *chosen, error))
                return fail(CliDatabase::ExitFailure, error);
            return CliDatabase::ExitOk;
        }
        const QByteArray bytes = exporter->Render(*chosen);
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush())
            return fail(CliDatabase::ExitFailure, QStringLiteral("cannot write to standard output"));
        return CliDatabase::ExitOk;
    });
}

const CliCommandRegistration kRegistration({QStringLiteral("export"),
                                            QStringLiteral("write a stored query's hits as CSV, JSON or bookmarks"),
                                            &runExport});

} // namespace
