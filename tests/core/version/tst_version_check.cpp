#include "ManualClock.h"

#include "app/ThreadHandOver.h"
#include "version/CTrawlexCheckVersionThread.h"
#include "version/CVersionResultEvent.h"
#include "version/VersionResult.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace {

// Stands in for the main frame: takes each result, keeps a copy, lets the worker go.
class ResultReceiver final : public QObject
{
public:
    int results = 0;
    int status = -1;
    QString reply;

    bool event(QEvent *e) override
    {
        ThreadHandOver::received(e);
        if (e->type() != CVersionResultEvent::WM_VERSION_RESULT)
            return QObject::event(e);
        auto *ev = static_cast<CVersionResultEvent *>(e);
        ++results;
        status = ev->result()->nStatus;
        reply = ev->result()->strReply;
        ev->release();
        return true;
    }
};

// A version server on loopback that answers each request with the given chunks.
class VersionServer final : public QTcpServer
{
public:
    QList<QByteArray> chunks;
    int chunkDelayMs = 0;
    bool answer = true;
    QByteArray request;
    int chunksSent = 0; // written, or given up because the client had gone

    VersionServer()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *s = nextPendingConnection();
            connect(s, &QTcpSocket::readyRead, s, [this, s] {
                request += s->readAll();
                if (!request.endsWith("\n\n") || !answer)
                    return;
                for (int i = 0; i < chunks.size(); ++i) {
                    QTimer::singleShot(chunkDelayMs * i, s, [this, s, c = chunks.at(i)] {
                        ++chunksSent;
                        if (s->state() != QAbstractSocket::ConnectedState)
                            return; // the client has given up on us
                        s->write(c);
                        s->flush();
                    });
                }
            });
        });
        listen(QHostAddress::LocalHost, 0);
    }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(serverPort()); }
};

} // namespace

// The version check's exchange with the maker's server, against a loopback stand-in.
class TestVersionCheck : public QObject
{
    Q_OBJECT

private slots:
    void replyWithEndMark();
    void replyInTwoChunksIsJoinedExactly();
    void noEndMarkEndsByTheTimeLimit();
    void endlessReplyStaysBounded();
    void unreachableServerFails();
    void cancelEndsWithoutResult();
};

void TestVersionCheck::replyWithEndMark()
{
    VersionServer server;
    server.chunks = {"HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n#1.12#Faster#@\r\n"};
    ResultReceiver receiver;
    CTrawlexCheckVersionThread check(&receiver, server.address());
    check.start();
    QTRY_COMPARE(receiver.results, 1);
    QVERIFY(check.wait(5000));
    QCOMPARE(receiver.status, 1);
    QVERIFY(receiver.reply.endsWith("#1.12#Faster#@\r\n"));
    QCOMPARE(server.request, QByteArray("GET /vcontrol/trawlex.htm HTTP/1.0\nAccept: */* User-Agent: ZazuDeveri\n\n"));
}

void TestVersionCheck::replyInTwoChunksIsJoinedExactly()
{
    VersionServer server;
    server.chunkDelayMs = 100;
    const QByteArray first = "HTTP/1.0 200 OK\r\n\r\n#1.2#A long description of ";
    const QByteArray second = "news#@";
    server.chunks = {first, second};
    ResultReceiver receiver;
    CTrawlexCheckVersionThread check(&receiver, server.address());
    check.start();
    QTRY_COMPARE(receiver.results, 1);
    QCOMPARE(receiver.status, 1);
    QCOMPARE(receiver.reply, QString::fromLatin1(first + second));
}

void TestVersionCheck::noEndMarkEndsByTheTimeLimit()
{
    VersionServer server;
    server.chunks = {"HTTP/1.0 200 OK\r\n\r\n#1.2#no end mark#"};
    ResultReceiver receiver;
    ManualClock clock;
    CTrawlexCheckVersionThread check(&receiver, server.address(), 400, clock);
    check.start();
    QTRY_COMPARE(server.chunksSent, 1);
    QCOMPARE(clock.activeTimers(), 1);
    clock.advance(std::chrono::milliseconds(399));
    QCOMPARE(receiver.results, 0);
    clock.advance(std::chrono::milliseconds(1));
    QTRY_COMPARE(receiver.results, 1);
    QCOMPARE(receiver.status, 0);
    QVERIFY(receiver.reply.isEmpty());
}

void TestVersionCheck::endlessReplyStaysBounded()
{
    VersionServer server;
    for (int i = 0; i < 64; ++i)
        server.chunks.append(QByteArray(16 * 1024, 'x'));
    ResultReceiver receiver;
    ManualClock clock;
    CTrawlexCheckVersionThread check(&receiver, server.address(), 1500, clock);
    check.start();
    QTRY_COMPARE(server.chunksSent, 64);
    QCOMPARE(receiver.results, 0); // no end mark: only the limit ends the check
    clock.advance(std::chrono::milliseconds(1500));
    QTRY_COMPARE(receiver.results, 1);
    QCOMPARE(receiver.status, 0);
}

void TestVersionCheck::unreachableServerFails()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    const QString address = QStringLiteral("127.0.0.1:%1").arg(closed.serverPort());
    closed.close();
    ResultReceiver receiver;
    ManualClock clock;
    CTrawlexCheckVersionThread check(&receiver, address, 300, clock);
    check.start();
    QTRY_COMPARE(clock.activeTimers(), 1);
    clock.advance(std::chrono::milliseconds(300));
    QTRY_COMPARE(receiver.results, 1);
    QCOMPARE(receiver.status, 0);
}

void TestVersionCheck::cancelEndsWithoutResult()
{
    VersionServer server;
    server.answer = false;
    ResultReceiver receiver;
    ManualClock clock; // stands still: only the cancel can end the check
    CTrawlexCheckVersionThread check(&receiver, server.address(), 2000, clock);
    check.start();
    QTRY_VERIFY(server.request.endsWith("\n\n"));
    check.Cancel();
    QVERIFY(check.wait(1000));
    QCoreApplication::processEvents();
    QCOMPARE(receiver.results, 0);
}

QTEST_GUILESS_MAIN(TestVersionCheck)
#include "tst_version_check.moc"
