#include "CliCommand.h"
#include "CliDatabase.h"

#include "app/CTrawlexSettings.h"
#include "retrieval/EngineRegistry.h"
#include "retrieval/web/CDescriptionFetch.h"
#include "retrieval/web/EngineSources.h"
#include "run/CEngineTest.h"
#include "run/CQueryCommands.h"
#include "run/CUserEngines.h"
#include "store/CTrawlexDoc.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <optional>

namespace {

const char kHelp[] =
    "Usage: trawlex-cli engine add ADDRESS|FILE [--name N] [--format atom|rss|json] [--instance]\n"
    "       trawlex-cli engine add --template T --format atom|rss|json|mapped --name N\n"
    "                              [--mapping JSON] [--operators \"intitle inurl site\"] [--page-size N]\n"
    "       trawlex-cli engine list [--json]\n"
    "       trawlex-cli engine remove NAME [--from-queries]\n"
    "       trawlex-cli engine test NAME [WORD...]\n"
    "\n"
    "Engines of today, added to the database beside the seven built-in ones:\n"
    "  add ADDRESS   an OpenSearch description at an http or https address, a web page that\n"
    "                names one, or (with --instance, or when the address gives neither) a\n"
    "                metasearch instance's base address, searched in JSON (--format rss for RSS)\n"
    "  add FILE      an OpenSearch description in a file\n"
    "  add --template  a results address with {searchTerms} (and {startPage}, {startIndex},\n"
    "                {count} for paging); mapped JSON needs --mapping, e.g.\n"
    "                '{\"results\":\"data.items\",\"title\":\"name\",\"address\":\"link\",\"summary\":\"text\"}'\n"
    "  list          name, format and address of every engine (--json: one object per line)\n"
    "  remove        an added engine; while stored queries ask it, only with --from-queries,\n"
    "                and never when it is a query's only engine\n"
    "  test          a search for WORD (default \"test\") on one engine: hits and time\n"
    "\n"
    "HTTPS is verified; extra CA certificates (PEM) are named by TRAWLEX_CA_CERTIFICATES.\n"
    "Exit status: 0 done, 1 database error, failed fetch or failed test, 2 bad arguments or a\n"
    "definition that cannot be added.\n";

int fail(int status, const QString &message)
{
    QTextStream(stderr) << "trawlex-cli engine: " << message << '\n';
    return status;
}

// The value after an option, removed from args with it; nullopt when absent, an empty
// optional value when it has none.
std::optional<QString> takeValue(QStringList &args, const QString &option, bool *missing)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args.at(i) == option) {
            if (i + 1 >= args.size()) {
                *missing = true;
                args.removeAt(i);
                return QString();
            }
            const QString value = args.at(i + 1);
            args.remove(i, 2);
            return value;
        }
        if (args.at(i).startsWith(option + QLatin1Char('='))) {
            const QString value = args.at(i).mid(option.size() + 1);
            args.removeAt(i);
            return value;
        }
    }
    return std::nullopt;
}

bool takeFlag(QStringList &args, const QString &flag)
{
    return args.removeAll(flag) > 0;
}

// The definition an address gives: a description, the description a page names, or an
// instance's search.
std::optional<EngineDefinition> fromAddress(const QString &text, bool instance, FeedFormat format, QString *error,
                                            int *status)
{
    *status = CliDatabase::ExitUsage;
    if (instance)
        return EngineSources::fromInstance(text, format, error);
    const QUrl address(text.trimmed(), QUrl::StrictMode);
    QByteArray body;
    QUrl where;
    if (!CDescriptionFetch::fetchAndWait(address, &body, &where, error)) {
        *status = CliDatabase::ExitFailure;
        return std::nullopt;
    }
    if (!EngineSources::looksLikeXml(body)) {
        const QUrl linked = EngineSources::linkedDescription(body, where);
        if (linked.isEmpty())
            return EngineSources::fromInstance(text, format, error);
        if (!CDescriptionFetch::fetchAndWait(linked, &body, &where, error)) {
            *status = CliDatabase::ExitFailure;
            return std::nullopt;
        }
    }
    return EngineSources::fromDescription(body, where, error);
}

int add(QStringList args, CTrawlexDoc &doc)
{
    bool missing = false;
    const std::optional<QString> name = takeValue(args, QStringLiteral("--name"), &missing);
    const std::optional<QString> format = takeValue(args, QStringLiteral("--format"), &missing);
    const std::optional<QString> templ = takeValue(args, QStringLiteral("--template"), &missing);
    const std::optional<QString> mapping = takeValue(args, QStringLiteral("--mapping"), &missing);
    const std::optional<QString> operators = takeValue(args, QStringLiteral("--operators"), &missing);
    const std::optional<QString> pageSize = takeValue(args, QStringLiteral("--page-size"), &missing);
    const bool instance = takeFlag(args, QStringLiteral("--instance"));
    if (missing)
        return fail(CliDatabase::ExitUsage, QStringLiteral("an option is missing its value (see --help)"));

    QString error;
    std::optional<EngineDefinition> d;
    int status = CliDatabase::ExitUsage;
    if (templ) {
        if (!args.isEmpty() || !format || !name)
            return fail(CliDatabase::ExitUsage, QStringLiteral("add --template needs --format and --name and nothing else"));
        d = EngineSources::fromTemplate(*templ, *format, &error);
    } else {
        if (args.size() != 1)
            return fail(CliDatabase::ExitUsage, QStringLiteral("add takes one ADDRESS or FILE (see --help)"));
        std::optional<FeedFormat> wanted = FeedFormat::Json;
        if (format) {
            wanted = FeedFormats::fromName(*format);
            if (!wanted)
                return fail(CliDatabase::ExitUsage, QStringLiteral("--format must be atom, rss or json"));
        }
        const QString source = args.first();
        const QFileInfo file(source);
        if (!source.contains(QLatin1String("://")) && file.exists()) {
            QFile f(source);
            if (!f.open(QIODevice::ReadOnly))
                return fail(CliDatabase::ExitFailure, QStringLiteral("cannot read %1").arg(source));
            d = EngineSources::fromDescription(f.read(CDescriptionFetch::kMaxBytes + 1),
                                               QUrl::fromLocalFile(file.absoluteFilePath()), &error);
        } else {
            d = fromAddress(source, instance, *wanted, &error, &status);
        }
        // A description's own choice of format stands unless the user asked for another it offers.
        if (d && format && d->format != *wanted && !instance)
            return fail(CliDatabase::ExitUsage,
                        QStringLiteral("this search gives %1 results, not %2").arg(d->formatName(), *format));
    }
    if (!d)
        return fail(status, error);
    if (name)
        d->name = *name;
    if (mapping) {
        d->mapping = JsonMapping::fromJson(mapping->toUtf8(), &error);
        if (!d->mapping)
            return fail(CliDatabase::ExitUsage, QStringLiteral("--mapping: ") + error);
    }
    if (operators)
        d->operators = WebQueryText::operatorsFromNames(*operators);
    if (pageSize) {
        bool ok = false;
        d->pageSize = pageSize->toInt(&ok);
        if (!ok)
            return fail(CliDatabase::ExitUsage, QStringLiteral("--page-size takes a number"));
    }
    if (!CUserEngines(doc.Database()).add(*d, &error))
        return fail(CliDatabase::ExitUsage, error);
    QTextStream(stdout) << "Added " << d->name << " (" << d->formatName() << "): " << d->url.templateText << '\n';
    return CliDatabase::ExitOk;
}

int list(QStringList args, CTrawlexDoc &doc)
{
    const bool json = takeFlag(args, QStringLiteral("--json"));
    if (!args.isEmpty())
        return fail(CliDatabase::ExitUsage, QStringLiteral("list takes only --json"));
    QTextStream out(stdout);
    for (const EngineRegistry::Descriptor &e : EngineRegistry::instance().queryEngines()) {
        if (e->kind == EngineKind::Retired)
            continue;
        QString kind = QStringLiteral("built-in");
        QString address;
        if (e->definition) {
            kind = e->definition->formatName();
            address = e->definition->url.templateText;
        } else {
            const QStringList parts = doc.EngineAddressList().split(QLatin1Char('|'));
            const qsizetype at = parts.indexOf(e->name);
            address = at >= 0 && at + 1 < parts.size() ? parts.at(at + 1) : QString();
        }
        if (json) {
            QJsonObject o{{QStringLiteral("name"), e->name}, {QStringLiteral("kind"), kind},
                          {QStringLiteral("address"), address}};
            if (e->definition) {
                o.insert(QStringLiteral("method"), e->definition->url.method);
                o.insert(QStringLiteral("operators"), WebQueryText::operatorNames(e->definition->operators));
                o.insert(QStringLiteral("pageSize"), e->definition->pageSize);
                o.insert(QStringLiteral("description"), e->definition->description);
                o.insert(QStringLiteral("source"), e->definition->source);
            }
            out << QJsonDocument(o).toJson(QJsonDocument::Compact) << '\n';
        } else {
            out << e->name << '\t' << kind << '\t' << address << '\n';
        }
    }
    return CliDatabase::ExitOk;
}

int remove(QStringList args, CTrawlexDoc &doc)
{
    const bool fromQueries = takeFlag(args, QStringLiteral("--from-queries"));
    if (args.size() != 1)
        return fail(CliDatabase::ExitUsage, QStringLiteral("remove takes one NAME"));
    QString error;
    if (!CUserEngines(doc.Database()).remove(args.first(), fromQueries, &error))
        return fail(CliDatabase::ExitUsage, error);
    QTextStream(stdout) << "Removed " << args.first() << '\n';
    return CliDatabase::ExitOk;
}

int test(QStringList args, CTrawlexDoc &doc)
{
    if (args.isEmpty())
        return fail(CliDatabase::ExitUsage, QStringLiteral("test takes a NAME and words"));
    const QString name = args.takeFirst();
    const EngineRegistry::Descriptor d = EngineRegistry::instance().findIgnoringCase(name);
    if (!d || !d->canBeAsked())
        return fail(CliDatabase::ExitUsage, QStringLiteral("there is no engine called \"%1\" to ask").arg(name));
    doc.LoadEngineAddressList();
    CTrawlexSettings settings;
    settings.load();
    CliUserPrompt prompt;
    CQueryCommands commands(doc, prompt);
    commands.setLimits([&settings] {
        CRunMonitor::Limits limits;
        limits.maxDelay = settings.MaxDelay;
        return limits;
    });
    CEngineTest engineTest;
    const CEngineTest::Outcome outcome = commands.startEngineTest(engineTest, d->name, args)
                                             ? engineTest.waitForOutcome()
                                             : CEngineTest::unknownEngine(d->name);
    QTextStream out(stdout);
    if (outcome.failed) {
        QTextStream(stderr) << d->name << " failed after " << outcome.milliseconds << " ms: "
                            << (outcome.reason.isEmpty() ? QStringLiteral("no reason given") : outcome.reason) << '\n';
        return CliDatabase::ExitFailure;
    }
    out << d->name << ": " << outcome.hits.size() << " hits in " << outcome.milliseconds << " ms\n";
    for (const EngineHit &hit : outcome.hits)
        out << hit.title << '\t' << hit.url << '\n';
    return CliDatabase::ExitOk;
}

int runEngine(const QStringList &argsIn)
{
    QStringList args = argsIn;
    if (args.isEmpty() || args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        QTextStream(args.isEmpty() ? stderr : stdout) << kHelp << CliDatabase::dbOptionHelp();
        return args.isEmpty() ? CliDatabase::ExitUsage : CliDatabase::ExitOk;
    }
    QString path;
    if (!CliDatabase::takeDbOption(args, path))
        return CliDatabase::ExitUsage;
    const QString verb = args.takeFirst();
    int (*action)(QStringList, CTrawlexDoc &) = nullptr;
    if (verb == QLatin1String("add"))
        action = add;
    else if (verb == QLatin1String("list"))
        action = list;
    else if (verb == QLatin1String("remove"))
        action = remove;
    else if (verb == QLatin1String("test"))
        action = test;
    else
        return fail(CliDatabase::ExitUsage, QStringLiteral("unknown action \"%1\" (add, list, remove, test)").arg(verb));
    return CliDatabase::withDocument(path, [&](CTrawlexDoc &doc) {
        if (action == list)
            doc.LoadEngineAddressList();
        return action(args, doc);
    });
}

const CliCommandRegistration reg({QStringLiteral("engine"),
                                  QStringLiteral("add, list, remove or test the engines of today"), &runEngine});

} // namespace
