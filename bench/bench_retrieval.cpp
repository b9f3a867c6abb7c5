// The retrieval's own cost per engine: seven engines against a loopback server (on its own
// thread) that answers at once or after a fixed delay. Run: bench_retrieval [runs] [delayMs]
#include "retrieval/CResultPacketEvent.h"
#include "retrieval/CRetrievalRun.h"
#include "retrieval/ResultPacket.h"
#include "retrieval/RetrievalMessages.h"
#include "retrieval/RetrievalParams.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QByteArray httpOk(const QByteArray &body)
{
    return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + body;
}

QByteArray pageFor(const QByteArray &path)
{
    QByteArray body;
    if (path.startsWith("/altavista")) {
        body = "<HTML><BODY><dl>\n";
        for (int i = 1; i <= 10; ++i)
            body += "<dt><font size=-1><b>" + QByteArray::number(i) + ". </b></font><a href=\"http://av.example/"
                + QByteArray::number(i) + "\"><strong>AltaVista hit " + QByteArray::number(i)
                + "</strong></a><dd>A summary of the page.<br><cite>av.example</cite>\n";
        body += "</dl></BODY></HTML>\n";
    } else if (path.startsWith("/hotbot")) {
        body = "<HTML><BODY><TABLE>\n";
        for (int i = 1; i <= 10; ++i)
            body += "<TR><TD><B>" + QByteArray::number(i) + ".</B><FONT SIZE=-1>90%</FONT></TD><TD><A HREF=\"http://hb.example/"
                + QByteArray::number(i) + "\">HotBot hit</A><BR><FONT SIZE=-1>web</FONT></TD><TD>Summary<BR>\n</TD></TR>\n";
        body += "</TABLE></BODY></HTML>\n";
    } else if (path.startsWith("/lycos")) {
        body = "<HTML><BODY><!--- Formatted results start here --->\n<TABLE CELLPADDING=4 CELLSPACING=0 BORDER=0>\n";
        for (int i = 1; i <= 10; ++i)
            body += "<TR><TD><a href=\"http://ly.example/" + QByteArray::number(i) + "\">Lycos hit</a><br>Summary\n</TD></TR>\n";
        body += "</TABLE>\n<!--- end formatted results --->\n</BODY></HTML>\n";
    } else {
        body = "<HTML><BODY>No documents match.</BODY></HTML>\n";
    }
    return httpOk(body);
}

// Lives in the server thread.
class Server final : public QTcpServer
{
public:
    int delayMs = 0;

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *socket = new QTcpSocket(this);
        socket->setSocketDescriptor(descriptor);
        auto *received = new QByteArray;
        connect(socket, &QTcpSocket::disconnected, socket, [socket, received] {
            delete received;
            socket->deleteLater();
        });
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, received] {
            *received += socket->readAll();
            if (!received->contains("\n\n") && !received->contains("\r\n\r\n"))
                return;
            const QByteArray path = received->split(' ').value(1);
            received->clear();
            QTimer::singleShot(delayMs, socket, [socket, path] {
                socket->write(pageFor(path));
                socket->disconnectFromHost();
            });
        });
    }
};

class Receiver final : public QObject
{
public:
    int hits = 0;
    int completions = 0;

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == RetrievalMessages::WM_ENGINE_HIT)
            ++hits;
        else if (e->type() == RetrievalMessages::WM_ENGINE_DONE)
            ++completions;
        else
            return QObject::event(e);
        static_cast<CResultPacketEvent *>(e)->release();
        return true;
    }
};

struct Times
{
    double median;
    double best;
};

Times summarise(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.front()};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;
    const int delay = argc > 2 ? std::max(0, atoi(argv[2])) : 50;
    const QStringList engines{"AltaVista", "Excite", "HotBot", "InfoSeek", "Lycos", "Magellan", "Yahoo"};
    const int maxConns = 4;
    const int batches = int((engines.size() + maxConns - 1) / maxConns);

    QThread serverThread;
    Server server;
    server.moveToThread(&serverThread);
    serverThread.start();
    quint16 port = 0;
    QMetaObject::invokeMethod(&server, [&] { server.listen(QHostAddress::LocalHost, 0); port = server.serverPort(); },
                              Qt::BlockingQueuedConnection);
    const QString host = QStringLiteral("127.0.0.1:%1").arg(port);
    QString addresses;
    for (const QString &e : engines)
        addresses += u'|' + e + u'|' + host + u'/' + e.toLower() + u"/q|";

    auto measure = [&](int delayMs, int &hits) {
        QMetaObject::invokeMethod(&server, [&] { server.delayMs = delayMs; }, Qt::BlockingQueuedConnection);
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            Receiver rx;
            auto params = std::make_unique<RetrievalParams>();
            params->engines = engines;
            params->engineAddressList = addresses;
            params->booleanText = QStringLiteral("cats and dogs ");
            params->maxConns = maxConns;
            params->maxDelay = 45;
            params->receiver = &rx;
            CRetrievalRun run;
            QElapsedTimer clock;
            clock.start();
            run.start(std::move(params));
            run.waitForFinished();
            times.push_back(clock.nsecsElapsed() / 1e6);
            hits = rx.hits;
            if (rx.completions != engines.size())
                std::fprintf(stderr, "only %d completions\n", rx.completions);
        }
        return summarise(times);
    };

    int hits = 0;
    const Times instant = measure(0, hits);
    const Times delayed = measure(delay, hits);
    const double answerTime = double(batches) * delay;
    const double n = double(engines.size());
    std::printf("engines %lld, max conns %d, batches %d, hits per run %d, runs %d\n",
                static_cast<long long>(engines.size()), maxConns, batches, hits, runs);
    std::printf("instant answers:     run median %.2f ms (%.2f ms per engine), best %.2f ms (%.2f per engine)\n",
                instant.median, instant.median / n, instant.best, instant.best / n);
    std::printf("answers after %d ms: beyond the %.0f ms answer time median %.2f ms (%.2f ms per engine), "
                "best %.2f ms (%.2f per engine)\n",
                delay, answerTime, delayed.median - answerTime, (delayed.median - answerTime) / n,
                delayed.best - answerTime, (delayed.best - answerTime) / n);

    QMetaObject::invokeMethod(&server, [&] { server.close(); }, Qt::BlockingQueuedConnection);
    serverThread.quit();
    serverThread.wait();
    return 0;
}
