#include "retrieval/EngineAddress.h"
#include "retrieval/HttpRequestText.h"
#include "retrieval/QueryWords.h"

#include <QtTest>

// Word splitting, the engine address lookup and the request text: what every connection
// reads before it sends a byte.
class TestQueryWords : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void address_data();
    void address();
    void requestText();
    void redirect_data();
    void redirect();
};

void TestQueryWords::split_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("lines and blanks") << "and cats \r\nnot dogs \r\n" << QStringList{"and", "cats", "not", "dogs"};
    QTest::newRow("group") << "and pets \r\nand (cats or dogs )\r\n"
                           << QStringList{"and", "pets", "and", "(cats", "or", "dogs", ")"};
    QTest::newRow("last word without a break is dropped") << "and cats" << QStringList{"and"};
    QTest::newRow("one filter alone loses its and") << "and URL:spam \r\n" << QStringList{"URL:spam"};
    QTest::newRow("one plain word keeps its and") << "and spam \r\n" << QStringList{"and", "spam"};
    QTest::newRow("not before one filter stays") << "not URL:spam \r\n" << QStringList{"not", "URL:spam"};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("only separators") << " \r\n \n" << QStringList{};
}

void TestQueryWords::split()
{
    QFETCH(QString, text);
    QFETCH(QStringList, words);
    QCOMPARE(SplitQueryWords(text), words);
}

void TestQueryWords::address_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("engine");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("path");

    const QString list = "|AltaVista|#http://altavista.digital.com/cgi-bin/x#||HotBot|127.0.0.1:8081/hotbot||"
                         "HotBotRepeat|127.0.0.1:8081/hotbot-repeat||Lycos|lycos.com/||Bare|nohost||Yahoo|yahoo.com/|";
    QTest::newRow("marks and scheme") << list << "AltaVista" << true << "altavista.digital.com" << 80 << "cgi-bin/x";
    QTest::newRow("port") << list << "HotBot" << true << "127.0.0.1" << 8081 << "hotbot";
    QTest::newRow("name is exact, not a prefix") << list << "HotBotRepeat" << true << "127.0.0.1" << 8081 << "hotbot-repeat";
    QTest::newRow("empty path") << list << "Lycos" << true << "lycos.com" << 80 << "";
    QTest::newRow("last entry") << list << "Yahoo" << true << "yahoo.com" << 80 << "";
    QTest::newRow("no slash after host") << list << "Bare" << false << "" << 80 << "";
    QTest::newRow("missing engine") << list << "Excite" << false << "" << 80 << "";
    QTest::newRow("names are case-sensitive") << list << "hotbot" << false << "" << 80 << "";
    QTest::newRow("bad port") << "|X|host:99999/p|" << "X" << false << "" << 80 << "";
}

void TestQueryWords::address()
{
    QFETCH(QString, list);
    QFETCH(QString, engine);
    QFETCH(bool, valid);
    const EngineAddress a = EngineAddress::fromAddressList(list, engine);
    QCOMPARE(a.isValid(), valid);
    if (!valid)
        return;
    QTEST(a.host(), "host");
    QTEST(int(a.port()), "port");
    QTEST(a.path(), "path");
}

void TestQueryWords::requestText()
{
    QCOMPARE(HttpRequestText::build("cgi-bin/x", "?q=a+b"),
             QByteArray("GET /cgi-bin/x?q=a+b HTTP/1.0\nAccept: */* User-Agent: ZazuDeveri\n\n"));
    QCOMPARE(HttpRequestText::build("vcontrol/trawlex.htm"),
             QByteArray("GET /vcontrol/trawlex.htm HTTP/1.0\nAccept: */* User-Agent: ZazuDeveri\n\n"));
}

void TestQueryWords::redirect_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("request");

    const QByteArray tail(" HTTP/1.0\nAccept: */* User-Agent: ZazuDeveri\n\n");
    QTest::newRow("location then blank") << QByteArray("HTTP/1.0 302 Moved\r\nLocation: http://other.host/p?x=1 more\r\n\r\n")
                                         << QByteArray("GET /p?x=1" + tail);
    QTest::newRow("ends at CR") << QByteArray("HTTP/1.0 302 Moved\r\nLocation: http://h:81/a/b?c=d\r\n")
                                << QByteArray("GET /a/b?c=d" + tail);
    QTest::newRow("runs to the end") << QByteArray("302 Moved http://h/z") << QByteArray("GET /z" + tail);
    QTest::newRow("no address") << QByteArray("HTTP/1.0 302 Moved\r\n\r\n") << QByteArray();
    QTest::newRow("no path") << QByteArray("302 Moved http://hostonly") << QByteArray();
}

void TestQueryWords::redirect()
{
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, request);
    QCOMPARE(HttpRequestText::redirectRequest(page), request);
}

QTEST_GUILESS_MAIN(TestQueryWords)
#include "tst_query_words.moc"
