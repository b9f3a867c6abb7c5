#include "CliCommand.h"
#include "CliDatabase.h"

#include "query/CTrawlexQuery.h"
#include "query/QueryJson.h"
#include "retrieval/EngineAddress.h"
#include "retrieval/HttpRequestText.h"
#include "retrieval/QueryWords.h"
#include "retrieval/EngineRegistry.h"
#include "retrieval/engines/EngineRequests.h"
#include "retrieval/web/EngineDefinition.h"
#include "store/CTrawlexDoc.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace {

const char kDescription[] =
    "Writes to standard output exactly the bytes that ENGINE's connection sends for the query:\n"
    "its first result page with --counter 0 (the default), a later page otherwise. Yahoo's later\n"
    "pages continue from --yahoo-path, the next-set path stored with the query. The engine's\n"
    "address comes from --address, or from the database's engine table.\n"
    "ENGINE is one of AltaVista, Excite, HotBot, InfoSeek, Lycos, Magellan, Yahoo, or an engine\n"
    "added with `engine add`: for those the method and address are written (and a POST's form\n"
    "body), page --counter + 1 of the query in today's syntax.\n"
    "Exit status: 0 done, 1 database error or no usable address, 2 bad arguments or query file.";

int fail(int status, const QString &message)
{
    QTextStream(stderr) << "trawlex-cli request: " << message << '\n';
    return status;
}

// The request of an added engine: the method and address, and for a POST its form body.
int webRequest(const QString &engine, const QString &queryFile, int counter)
{
    const EngineRegistry::Descriptor d = EngineRegistry::instance().find(engine);
    if (!d || !d->definition)
        return fail(CliDatabase::ExitUsage, QStringLiteral("unknown engine \"%1\"").arg(engine));
    CTrawlexQuery query;
    QString error;
    if (!QueryJson::ReadFile(queryFile, query, error))
        return fail(CliDatabase::ExitUsage, error);
    const std::optional<SearchRequest> request =
        d->definition->request(WebQueryText::compose(query, d->definition->operators), counter + 1, &error);
    if (!request)
        return fail(CliDatabase::ExitFailure, error);
    QByteArray text = request->method + ' ' + request->url.toEncoded() + "\r\n";
    if (!request->body.isEmpty() || request->method == "POST")
        text += "Content-Type: " + request->contentType + "\r\n\r\n" + request->body + "\r\n";
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return fail(CliDatabase::ExitFailure, QStringLiteral("cannot write to standard output"));
    out.write(text);
    return CliDatabase::ExitOk;
}

int runRequest(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("ENGINE"), QStringLiteral("engine name, exact"));
    parser.addPositionalArgument(QStringLiteral("QUERY.json"), QStringLiteral("query file (- for standard input)"));
    const QCommandLineOption counter(QStringLiteral("counter"), QStringLiteral("the engine's page counter"),
                                     QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption yahooPath(QStringLiteral("yahoo-path"), QStringLiteral("Yahoo's stored next-set path"),
                                       QStringLiteral("P"));
    const QCommandLineOption address(QStringLiteral("address"), QStringLiteral("the engine's address"),
                                     QStringLiteral("URL"));
    const QCommandLineOption db(QStringLiteral("db"), QStringLiteral("database file (default: tx.mdb here)"),
                                QStringLiteral("PATH"), CliDatabase::defaultPath());
    parser.addOptions({counter, yahooPath, address, db});
    if (!parser.parse(QStringList{QStringLiteral("trawlex-cli request")} + args))
        return fail(CliDatabase::ExitUsage, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        return CliDatabase::ExitOk;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2)
        return fail(CliDatabase::ExitUsage, QStringLiteral("expected ENGINE and QUERY.json (see --help)"));
    const QString engine = positional.at(0);
    bool ok = false;
    const int n = parser.value(counter).toInt(&ok);
    if (!ok || n < 0)
        return fail(CliDatabase::ExitUsage, QStringLiteral("--counter takes a number of 0 or more"));
    if (!EngineRequests::hasBuilder(engine)) {
        // An engine the user added is known once the database is open; without one it is
        // simply unknown.
        if (!QFileInfo::exists(parser.value(db)))
            return fail(CliDatabase::ExitUsage, QStringLiteral("unknown engine \"%1\"").arg(engine));
        return CliDatabase::withDocument(parser.value(db), [&](CTrawlexDoc &) {
            return webRequest(engine, positional.at(1), n);
        });
    }

    CTrawlexQuery query;
    QString error;
    if (!QueryJson::ReadFile(positional.at(1), query, error))
        return fail(CliDatabase::ExitUsage, error);
    const QStringList words = SplitQueryWords(query.GetBooleanText());
    const QByteArray tail = n == 0 ? EngineRequests::firstPageQuery(engine, words)
                                   : EngineRequests::nextPageQuery(engine, words, n, parser.value(yahooPath));

    EngineAddress where;
    if (parser.isSet(address)) {
        where = EngineAddress::fromUrl(parser.value(address));
    } else {
        const int status = CliDatabase::withDocument(parser.value(db), [&](CTrawlexDoc &doc) {
            doc.LoadEngineAddressList();
            where = EngineAddress::fromAddressList(doc.EngineAddressList(), engine);
            return CliDatabase::ExitOk;
        });
        if (status != CliDatabase::ExitOk)
            return status;
    }
    if (!where.isValid())
        return fail(CliDatabase::ExitFailure, QStringLiteral("no usable address for %1 (host, then \"/\" and a path)").arg(engine));

    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return fail(CliDatabase::ExitFailure, QStringLiteral("cannot write to standard output"));
    out.write(HttpRequestText::build(where.path().toUtf8(), tail));
    return CliDatabase::ExitOk;
}

const CliCommandRegistration kRegistration({QStringLiteral("request"),
                                            QStringLiteral("the exact request bytes an engine is sent"),
                                            &runRequest});

} // namespace
