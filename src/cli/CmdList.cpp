#include "CliCommand.h"
#include "CliDatabase.h"

#include "store/CMainQueryTable.h"
#include "store/CTrawlexDoc.h"

#include <QTextStream>

namespace {

const char kHelp[] =
    "Usage: trawlex-cli list [--db PATH]\n"
    "\n"
    "Lists the stored queries by QID, one per line:\n"
    "QID <tab> name <tab> level <tab> retrieval date (yyyy-MM-dd HH:mm:ss, local time).\n"
    "A backslash, tab, line feed or carriage return in a name is written as \\\\, \\t, \\n or \\r\n"
    "so that every query stays on one line.\n"
    "\n"
    "Exit status: 0 done, 1 database error, 2 bad arguments.\n";

QString oneLine(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\': out += QLatin1String("\\\\"); break;
        case u'\t': out += QLatin1String("\\t"); break;
        case u'\n': out += QLatin1String("\\n"); break;
        case u'\r': out += QLatin1String("\\r"); break;
        default: out += c;
        }
    }
    return out;
}

int runList(const QStringList &argsIn)
{
    QStringList args = argsIn;
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        QTextStream(stdout) << kHelp << CliDatabase::dbOptionHelp();
        return CliDatabase::ExitOk;
    }
    QString path;
    if (!CliDatabase::takeDbOption(args, path))
        return CliDatabase::ExitUsage;
    if (!args.isEmpty()) {
        QTextStream(stderr) << "trawlex-cli list: unexpected argument " << args.first() << "\n" << kHelp;
        return CliDatabase::ExitUsage;
    }
    return CliDatabase::withDocument(path, [](CTrawlexDoc &doc) {
        QTextStream out(stdout);
        out.setEncoding(QStringConverter::Utf8);
        for (const CMainQueryTable::Row &row : doc.MainQueries().allQueries()) {
            out << row.qid << '\t' << oneLine(row.name) << '\t' << row.level << '\t'
                << row.retrieved.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << '\n';
        }
        return CliDatabase::ExitOk;
    });
}

const CliCommandRegistration reg({QStringLiteral("list"), QStringLiteral("list the stored queries"), &runList});

} // namespace
