// The wait at the program's end for the network managers' threads.
#include "LoopbackEngineServer.h"
#include "retrieval/web/NetworkThreads.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTest>

#include <memory>

class TestNetworkThreads : public QObject
{
    Q_OBJECT

private slots:
    void waitsForTheManagersThreadAndOnlyForIt();
};

void TestNetworkThreads::waitsForTheManagersThreadAndOnlyForIt()
{
    // None has run yet: nothing to wait for.
    QVERIFY(NetworkThreads::WaitForEnd(0));

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
    QVERIFY(!NetworkThreads::WaitForEnd(50));
    manager.reset();
    QVERIFY(NetworkThreads::WaitForEnd(5000));
}

QTEST_GUILESS_MAIN(TestNetworkThreads)
#include "tst_network_threads.moc"
