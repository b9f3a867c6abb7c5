// trawlex-enginesim: local stand-ins for the seven search engines, so that the
// client can be run and tested without the servers of 1997-98, and for the
// OpenSearch and metasearch engines of today over the same pages.

#include "Corpus.h"
#include "SelfSignedCertificate.h"
#include "SimServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QHostAddress>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <cstdio>

namespace {

std::atomic_bool g_stopRequested{false};

void requestStop(int)
{
    g_stopRequested = true;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "trawlex-enginesim: %s\n", qPrintable(message));
    return 2;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("trawlex-enginesim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Serves stand-ins for AltaVista, Excite, HotBot, InfoSeek, Lycos, Magellan and Yahoo on one port:\n"
        "  /altavista/cgi-bin/query  /excite/search.gw  /hotbot (302 to /hotbot-repeat/...)\n"
        "  /infoseek/Titles  /lycos/cgi-bin/pursuit  /magellan/search.gw  /yahoo/bin/search\n"
        "Today's engines over the same pages, in HTTP/1.1 (gzip when asked), on the same port and with\n"
        "--https-port also over HTTPS with a certificate made at start (--cert-file writes it):\n"
        "  /opensearch/atom.xml rss.xml json.xml post.xml post-params.xml html.xml  description documents\n"
        "  /feed/atom?q=&start=&count=   /feed/rss?q=&page=&n=   /feed/json?q=&pageno=   POST /feed/post\n"
        "  /searx/search?q=&format=json|rss&pageno=\n"
        "  Queries: words, \"phrase\", -word, (a OR b), intitle:, inurl:, site:.\n"
        "Prints \"port N\" (then \"https-port N\") on stdout once listening. Stops on SIGTERM or SIGINT.\n\n"
        "Corpus file (--corpus): one JSON object per line,\n"
        "  {\"title\": \"...\", \"url\": \"http://host/path\", \"summary\": \"...\",\n"
        "   \"category\": \"Recreation: Outdoors: Fishing\", \"links\": [\"http://...\"]}\n"
        "\"category\" and \"links\" are optional; empty lines and lines starting with # are skipped.\n"
        "Without --corpus a corpus of --size pages is generated from --seed.\n\n"
        "Faults (--fault ENGINE=KIND, repeatable; ENGINE is an engine name, HotBotRepeat, one of today's\n"
        "forms atom, rss, json, post, searx, or opensearch for the description documents, or all, which\n"
        "is every engine and form but the description documents):\n"
        "  refuse       close the connection without a byte\n"
        "  close-early  send half the page, then close\n"
        "  never        keep the connection open and never answer\n"
        "  trickle[:MS] send one byte every MS milliseconds (default 100)\n"
        "  garbage      random bytes without any engine's markers, ending in </HTML>\n"
        "  no-end       a page without </HTML>, connection kept open (today's forms: short of its\n"
        "               Content-Length)\n"
        "Today's forms only:\n"
        "  http403      403 Forbidden\n"
        "  http429      429 Too Many Requests with Retry-After: 120\n"
        "  http500      500 Internal Server Error\n"
        "  redirect-loop       302 to the same address, forever\n"
        "  redirect-downgrade  on the HTTPS port, 302 to the same path over plain HTTP\n"
        "  redirect-once       302 (307 for a POST) to /moved/..., which answers normally\n"
        "  bad-xml, bad-json   an ill-formed document: XML with a mismatched end tag, cut short;\n"
        "                      JSON cut in the middle\n"
        "  oversize     a valid feed of over 36 MiB, written as the client reads it"));
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("Port to listen on; 0 picks a free one."),
                                        QStringLiteral("P"));
    const QCommandLineOption hostOption(QStringLiteral("host"), QStringLiteral("Address to bind (default 127.0.0.1)."),
                                        QStringLiteral("HOST"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption latencyOption(QStringLiteral("latency"),
                                           QStringLiteral("Answer every request MS milliseconds after reading it."),
                                           QStringLiteral("MS"), QStringLiteral("0"));
    const QCommandLineOption corpusOption(QStringLiteral("corpus"), QStringLiteral("Read the pages from FILE (JSON lines)."),
                                          QStringLiteral("FILE"));
    const QCommandLineOption faultOption(QStringLiteral("fault"), QStringLiteral("Make an engine misbehave."),
                                         QStringLiteral("ENGINE=KIND"));
    const QCommandLineOption portFileOption(QStringLiteral("port-file"),
                                            QStringLiteral("Also write the chosen port to FILE."), QStringLiteral("FILE"));
    const QCommandLineOption charsetOption(QStringLiteral("charset"),
                                           QStringLiteral("Page charset: windows-1252 (default) or utf-8."),
                                           QStringLiteral("NAME"), QStringLiteral("windows-1252"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("Seed of the generated corpus."),
                                        QStringLiteral("N"), QString::number(Corpus::kDefaultSeed));
    const QCommandLineOption sizeOption(QStringLiteral("size"), QStringLiteral("Pages in the generated corpus."),
                                        QStringLiteral("N"), QString::number(Corpus::kDefaultSize));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"),
                                           QStringLiteral("Log every request line (and User-Agent of today's forms) on stderr."));
    const QCommandLineOption httpsPortOption(QStringLiteral("https-port"),
                                             QStringLiteral("Also serve over HTTPS on port P; 0 picks a free one."),
                                             QStringLiteral("P"));
    const QCommandLineOption httpsPortFileOption(QStringLiteral("https-port-file"),
                                                 QStringLiteral("Also write the HTTPS port to FILE."), QStringLiteral("FILE"));
    const QCommandLineOption certFileOption(QStringLiteral("cert-file"),
                                            QStringLiteral("Write the HTTPS certificate (PEM) to FILE, for clients to trust."),
                                            QStringLiteral("FILE"));
    parser.addOptions({portOption, hostOption, latencyOption, corpusOption, faultOption, portFileOption, charsetOption,
                       seedOption, sizeOption, verboseOption, httpsPortOption, httpsPortFileOption, certFileOption});
    parser.process(app);

    if (!parser.isSet(portOption))
        return fail(QStringLiteral("--port is required (0 picks a free port)"));
    bool ok = false;
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port > 65535)
        return fail(QStringLiteral("bad --port \"%1\"").arg(parser.value(portOption)));
    const QHostAddress host(parser.value(hostOption));
    if (host.isNull())
        return fail(QStringLiteral("bad --host \"%1\": give a numeric address").arg(parser.value(hostOption)));

    SimServer::Options options;
    options.latencyMs = parser.value(latencyOption).toInt(&ok);
    if (!ok || options.latencyMs < 0)
        return fail(QStringLiteral("bad --latency \"%1\"").arg(parser.value(latencyOption)));
    const QString charset = parser.value(charsetOption).toLower();
    if (charset != QLatin1String("windows-1252") && charset != QLatin1String("utf-8"))
        return fail(QStringLiteral("--charset is windows-1252 or utf-8"));
    options.utf8 = charset == QLatin1String("utf-8");
    options.verbose = parser.isSet(verboseOption);
    for (const QString &fault : parser.values(faultOption)) {
        QString error;
        if (!options.faults.add(fault, &error))
            return fail(error);
    }

    Corpus corpus;
    if (parser.isSet(corpusOption)) {
        QString error;
        if (!corpus.loadJsonLines(parser.value(corpusOption), &error))
            return fail(error);
    } else {
        const int size = parser.value(sizeOption).toInt(&ok);
        if (!ok || size < 1)
            return fail(QStringLiteral("bad --size \"%1\"").arg(parser.value(sizeOption)));
        const quint32 seed = parser.value(seedOption).toUInt(&ok);
        if (!ok)
            return fail(QStringLiteral("bad --seed \"%1\"").arg(parser.value(seedOption)));
        corpus = Corpus::generate(size, seed);
    }

    SimServer server(std::move(corpus), options);
    QString error;
    if (!server.listen(host, quint16(port), &error))
        return fail(QStringLiteral("cannot listen on %1:%2: %3").arg(host.toString()).arg(port).arg(error));

    if (parser.isSet(httpsPortOption)) {
        const uint httpsPort = parser.value(httpsPortOption).toUInt(&ok);
        if (!ok || httpsPort > 65535)
            return fail(QStringLiteral("bad --https-port \"%1\"").arg(parser.value(httpsPortOption)));
        SelfSignedCertificate certificate;
        if (!certificate.make(&error))
            return fail(error);
        if (!server.listenTls(host, quint16(httpsPort), certificate.certificatePem(), certificate.privateKeyPem(), &error))
            return fail(QStringLiteral("cannot serve HTTPS on %1:%2: %3").arg(host.toString()).arg(httpsPort).arg(error));
        // Written before any port is told, so a client that knows the port finds the certificate.
        if (parser.isSet(certFileOption) && !writeFile(parser.value(certFileOption), certificate.certificatePem()))
            return fail(QStringLiteral("cannot write %1").arg(parser.value(certFileOption)));
        if (parser.isSet(httpsPortFileOption)
            && !writeFile(parser.value(httpsPortFileOption), QByteArray::number(server.tlsPort()) + '\n'))
            return fail(QStringLiteral("cannot write %1").arg(parser.value(httpsPortFileOption)));
    } else if (parser.isSet(certFileOption) || parser.isSet(httpsPortFileOption)) {
        return fail(QStringLiteral("--cert-file and --https-port-file need --https-port"));
    }

    if (parser.isSet(portFileOption) && !writeFile(parser.value(portFileOption), QByteArray::number(server.port()) + '\n'))
        return fail(QStringLiteral("cannot write %1").arg(parser.value(portFileOption)));
    std::printf("port %u\n", unsigned(server.port()));
    if (server.tlsPort() != 0)
        std::printf("https-port %u\n", unsigned(server.tlsPort()));
    std::fflush(stdout);

    // Signals only set a flag; the event loop looks at it often enough.
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    QTimer stopWatch;
    QObject::connect(&stopWatch, &QTimer::timeout, &app, [] {
        if (g_stopRequested)
            QCoreApplication::exit(0);
    });
    stopWatch.start(50);
    return app.exec();
}
