#include "CliCommand.h"
#include "CliDatabase.h"

#include "store/CDaoException.h"
#include "store/CSearchEngineTable.h"
#include "store/CTrawlexDatabase.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

const char kHelp[] =
    "Usage: trawlex-cli initdb PATH [--engines-at HOST:PORT]\n"
    "\n"
    "Writes a fresh database at PATH from the built-in schema, with the search engines'\n"
    "usual addresses. An existing file is never overwritten: initdb then stops with\n"
    "status 2 and leaves the file alone.\n"
    "\n"
    "  --engines-at HOST:PORT   point every engine at that host and port, one path per\n"
    "                           engine, as the local engine simulator serves them\n"
    "\n"
    "Exit status: 0 done, 1 the database could not be written, 2 bad arguments or PATH exists.\n";

bool validHostPort(const QString &text)
{
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    const QString host = text.left(colon);
    if (host.contains(QLatin1Char('/')) || host.contains(QLatin1Char(' ')) || host.contains(QLatin1Char('|')))
        return false;
    bool ok = false;
    const int port = text.mid(colon + 1).toInt(&ok);
    return ok && port > 0 && port < 65536;
}

int runInitDb(const QStringList &argsIn)
{
    QTextStream err(stderr);
    QStringList args = argsIn;
    QString enginesAt;
    QStringList positional;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            QTextStream(stdout) << kHelp;
            return CliDatabase::ExitOk;
        }
        if (a == QLatin1String("--engines-at")) {
            if (i + 1 >= args.size()) {
                err << "trawlex-cli initdb: --engines-at needs HOST:PORT\n";
                return CliDatabase::ExitUsage;
            }
            enginesAt = args.at(++i);
        } else if (a.startsWith(QLatin1String("--engines-at="))) {
            enginesAt = a.mid(13);
        } else if (a.startsWith(QLatin1String("--"))) {
            err << "trawlex-cli initdb: unknown option " << a << "\n" << kHelp;
            return CliDatabase::ExitUsage;
        } else {
            positional << a;
        }
    }
    if (positional.size() != 1) {
        err << kHelp;
        return CliDatabase::ExitUsage;
    }
    const QString path = positional.first();
    if (!enginesAt.isNull() && !validHostPort(enginesAt)) {
        err << "trawlex-cli initdb: \"" << enginesAt << "\" is not HOST:PORT\n";
        return CliDatabase::ExitUsage;
    }
    if (QFileInfo::exists(path)) {
        err << "trawlex-cli initdb: " << path << " already exists; not overwritten\n";
        return CliDatabase::ExitUsage;
    }

    try {
        CTrawlexDatabase::createFromSchema(path);
        if (!enginesAt.isNull()) {
            try {
                CTrawlexDatabase db(path);
                CDbTransaction transaction(db);
                CSearchEngineTable(db).setSimulatorAddresses(enginesAt);
                transaction.commit();
            } catch (const CDaoException &) {
                // A half set-up file is worse than none.
                QFile::remove(path);
                throw;
            }
        }
    } catch (const CDaoException &e) {
        return CliDatabase::reportFailure(e);
    }
    return CliDatabase::ExitOk;
}

const CliCommandRegistration reg({QStringLiteral("initdb"), QStringLiteral("make a fresh database from the built-in schema"),
                                  &runInitDb});

} // namespace
