#include "CliCommand.h"
#include "CliDatabase.h"

#include "retrieval/engines/EngineParsers.h"

#include <QCommandLineParser>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

#include <cstdio>

namespace {

const char kDescription[] =
    "Reads a saved result page of ENGINE with that engine's parser and writes one compact JSON\n"
    "object per hit, one per line in the order the hits are delivered:\n"
    "  {\"title\":...,\"url\":...,\"summary\":...}\n"
    "then the engine's completion:\n"
    "  {\"engine\":...,\"count\":N,\"extra\":...}\n"
    "Extra is Yahoo's next-set path (\" \" when there is none) and empty for the other engines.\n"
    "The page is read as it arrived from the engine, headers included or not.\n"
    "ENGINE is one of AltaVista, Excite, HotBot, HotBotRepeat, InfoSeek, Lycos, Magellan, Yahoo.\n"
    "Exit status: 0 done, 2 bad arguments, unknown engine or unreadable page.";

int fail(const QString &message)
{
    QTextStream(stderr) << "trawlex-cli parse: " << message << '\n';
    return CliDatabase::ExitUsage;
}

// A JSON string literal, quotes included.
QByteArray jsonString(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.sliced(1, array.size() - 2);
}

int runParse(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("ENGINE"), QStringLiteral("engine name, exact"));
    parser.addPositionalArgument(QStringLiteral("PAGE.html"), QStringLiteral("saved result page (- for standard input)"));
    if (!parser.parse(QStringList{QStringLiteral("trawlex-cli parse")} + args))
        return fail(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        return CliDatabase::ExitOk;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2)
        return fail(QStringLiteral("expected ENGINE and PAGE.html (see --help)"));
    const QString engine = positional.at(0);
    if (!EngineParsers::hasParser(engine))
        return fail(QStringLiteral("no parser for engine \"%1\"").arg(engine));

    QFile file;
    const QString path = positional.at(1);
    const bool opened = path == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                   : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened)
        return fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    const QByteArray page = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));

    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write to standard output"));
    int count = 0;
    const QString extra = EngineParsers::parse(engine, page, [&](EngineHit &&hit) {
        out.write("{\"title\":" + jsonString(hit.title) + ",\"url\":" + jsonString(hit.url)
                  + ",\"summary\":" + jsonString(hit.summary) + "}\n");
        ++count;
    });
    // The redirected HotBot connection completes as HotBot.
    const QString completedAs = engine == QLatin1String("HotBotRepeat") ? QStringLiteral("HotBot") : engine;
    out.write("{\"engine\":" + jsonString(completedAs) + ",\"count\":" + QByteArray::number(count)
              + ",\"extra\":" + jsonString(extra) + "}\n");
    out.flush();
    return CliDatabase::ExitOk;
}

const CliCommandRegistration reg({QStringLiteral("parse"), QStringLiteral("read a saved result page with an engine's parser"), &runParse});

} // namespace
