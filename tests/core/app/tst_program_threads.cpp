// The wait at the program's end for its own threads and the network managers' threads.
#include "LoopbackEngineServer.h"
#include "app/ProgramThreads.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSemaphore>
#include <QTest>
#include <QThread>

#include <memory>

class TestProgramThreads : public QObject
{
    Q_OBJECT

private slots:
    void waitsForTheNetworkManagersThread();
    void waitsForOwnThreadsOnly();
};

void TestProgramThreads::waitsForTheNetworkManagersThread()
{
    // None has run yet: nothing to wait for.
    QVERIFY(ProgramThreads::WaitForEnd(0));

    LoopbackEngineServer server;
    QVERIFY(server.listen());
    server.setScript("/", LoopbackEngineServer::page("HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok"));
    auto manager = std::make_unique<QNetworkAccessManager>();
    QNetworkReply *reply = manager->get(QNetworkRequest(QUrl(QString::fromLatin1("http://" + server.hostPort() + "/"))));
    QEventLoop loop;
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    QCOMPARE(reply->readAll(), QByteArray("ok"));

    // While the manager lives, its thread does too: the wait gives up when told.
    QVERIFY(!ProgramThreads::WaitForEnd(50));
    manager.reset();
    QVERIFY(ProgramThreads::WaitForEnd(5000));
}

void TestProgramThreads::waitsForOwnThreadsOnly()
{
    QSemaphore started;
    QSemaphore release;
    auto body = [&] {
        started.release();
        release.acquire();
    };

    // A thread that is not the program's own (as Qt's that live with the process) is not waited for.
    std::unique_ptr<QThread> foreign(QThread::create(body));
    foreign->start();
    started.acquire();
    QVERIFY(ProgramThreads::WaitForEnd(0));
    release.release();
    QVERIFY(foreign->wait(5000));

    std::unique_ptr<QThread> own(QThread::create(body));
    ProgramThreads::Name(*own, QStringLiteral("run"));
    own->start();
    started.acquire();
    QVERIFY(!ProgramThreads::WaitForEnd(50));
    release.release();
    QVERIFY(own->wait(5000));
    QVERIFY(ProgramThreads::WaitForEnd(5000));
}

QTEST_GUILESS_MAIN(TestProgramThreads)
#include "tst_program_threads.moc"
