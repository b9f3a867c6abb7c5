// Drives the built trawlex-enginesim's forms of today's engines over loopback:
// OpenSearch descriptions, Atom, RSS and metasearch JSON results, gzip, HTTPS
// with the certificate it writes, and the faults a client has to survive.

#include "retrieval/opensearch/OpenSearchNamespaces.h"
#include "ThreadsEndAtExit.h"
#include "RunEngineSim.h"
#include "TestPaths.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

#include <memory>

namespace {

const QString kAtomNs = QStringLiteral("http://www.w3.org/2005/Atom");
const QString kOpenSearchNs = QStringLiteral(TRAWLEX_OPENSEARCH_NS);
const QString kParametersNs = QStringLiteral(TRAWLEX_OPENSEARCH_PARAMETERS_NS);

QStringList smallCorpus()
{
    return {QStringLiteral("--corpus"), TestPaths::dataDir() + QStringLiteral("/corpus/enginesim-small.jsonl")};
}

QString apple(int n)
{
    return QStringLiteral("http://%1/apple/%2.html").arg(n % 2 ? "orchard.example.com" : "fruit.example.org").arg(n);
}

QStringList apples(int from, int to, int step = 1)
{
    QStringList urls;
    for (int n = from; n <= to; n += step)
        urls.append(apple(n));
    return urls;
}

struct Reply
{
    int status = 0;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QByteArray body;
    QByteArray contentType;
    QByteArray location;
    QByteArray retryAfter;
};

Reply send(QNetworkAccessManager &nam, QNetworkRequest request, const QByteArray &postBody = {},
           bool post = false)
{
    if (request.attribute(QNetworkRequest::RedirectPolicyAttribute).isNull())
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(15000);
    QNetworkReply *reply = post ? nam.post(request, postBody) : nam.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    Reply result;
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.error = reply->error();
    result.body = reply->readAll();
    result.contentType = reply->rawHeader("Content-Type");
    result.location = reply->rawHeader("Location");
    result.retryAfter = reply->rawHeader("Retry-After");
    reply->deleteLater();
    return result;
}

Reply get(QNetworkAccessManager &nam, const QString &url)
{
    return send(nam, QNetworkRequest(QUrl(url)));
}

Reply postForm(QNetworkAccessManager &nam, const QString &url, const QByteArray &form)
{
    QNetworkRequest request{QUrl(url)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/x-www-form-urlencoded"));
    return send(nam, request, form, true);
}

// What a result page says, whatever its form.
struct Results
{
    bool wellFormed = false;
    bool itemsComplete = true; // every item has its title, address and summary (and Atom's id and updated)
    int total = -1;
    int startIndex = -1;
    int itemsPerPage = -1;
    QStringList urls;
    QStringList titles;
    QStringList summaries;
};

Results readXml(const QByteArray &bytes)
{
    Results results;
    QXmlStreamReader xml(bytes);
    QHash<QString, QString> item;
    bool inItem = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            if (xml.isEndElement() && inItem && (xml.name() == u"entry" || xml.name() == u"item")) {
                inItem = false;
                const bool atom = xml.name() == u"entry";
                for (const char *field : {"title", "link", "summary"})
                    results.itemsComplete = results.itemsComplete && !item.value(QLatin1String(field)).isEmpty();
                if (atom)
                    results.itemsComplete = results.itemsComplete && item.contains(QStringLiteral("id"))
                                            && item.contains(QStringLiteral("updated"));
                results.urls.append(item.value(QStringLiteral("link")));
                results.titles.append(item.value(QStringLiteral("title")));
                results.summaries.append(item.value(QStringLiteral("summary")));
            }
            continue;
        }
        const QStringView name = xml.name();
        if (xml.namespaceUri() == kOpenSearchNs
            && (name == u"totalResults" || name == u"startIndex" || name == u"itemsPerPage")) {
            const int value = xml.readElementText().toInt();
            if (name == u"totalResults")
                results.total = value;
            else if (name == u"startIndex")
                results.startIndex = value;
            else if (name == u"itemsPerPage")
                results.itemsPerPage = value;
        } else if (name == u"entry" || name == u"item") {
            inItem = true;
            item.clear();
        } else if (inItem && name == u"link" && xml.attributes().hasAttribute(QStringLiteral("href"))) {
            if (xml.attributes().value(QStringLiteral("rel")) == u"alternate")
                item.insert(QStringLiteral("link"), xml.attributes().value(QStringLiteral("href")).toString());
        } else if (inItem && (name == u"summary" || name == u"description")) {
            item.insert(QStringLiteral("summary"), xml.readElementText());
        } else if (inItem && (name == u"title" || name == u"link" || name == u"id" || name == u"updated")) {
            item.insert(name.toString(), xml.readElementText());
        }
    }
    results.wellFormed = !xml.hasError();
    return results;
}

Results readJson(const QByteArray &bytes)
{
    Results results;
    QJsonParseError error;
    const QJsonObject object = QJsonDocument::fromJson(bytes, &error).object();
    results.wellFormed = error.error == QJsonParseError::NoError && object.contains(QLatin1String("query"));
    results.total = object.value(QLatin1String("number_of_results")).toInt(-1);
    for (const QJsonValue &value : object.value(QLatin1String("results")).toArray()) {
        const QJsonObject hit = value.toObject();
        results.urls.append(hit.value(QLatin1String("url")).toString());
        results.titles.append(hit.value(QLatin1String("title")).toString());
        results.summaries.append(hit.value(QLatin1String("content")).toString());
        results.itemsComplete = results.itemsComplete && !results.urls.last().isEmpty()
                                && !results.titles.last().isEmpty() && hit.value(QLatin1String("engine")).isString();
    }
    return results;
}

Results readResults(const Reply &reply)
{
    return reply.contentType.startsWith("application/json") ? readJson(reply.body) : readXml(reply.body);
}

struct RawAnswer
{
    QByteArray bytes;
    bool closedByServer = false;
};

RawAnswer exchange(int port, const QByteArray &request, int waitMs)
{
    RawAnswer answer;
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, quint16(port));
    if (!socket.waitForConnected(5000))
        return answer;
    socket.write(request);
    // Until the server closes, or the wait is over with the connection still open.
    const QDeadlineTimer deadline(waitMs);
    while (socket.state() == QAbstractSocket::ConnectedState && !deadline.hasExpired())
        socket.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
    answer.bytes = socket.readAll();
    answer.closedByServer = socket.state() != QAbstractSocket::ConnectedState;
    return answer;
}

qsizetype contentLength(const QByteArray &response)
{
    const qsizetype at = response.indexOf("\r\nContent-Length: ");
    return at < 0 ? -1 : response.mid(at + 18, response.indexOf('\r', at + 18) - at - 18).toLongLong();
}

QByteArray bodyOf(const QByteArray &response)
{
    const qsizetype end = response.indexOf("\r\n\r\n");
    return end < 0 ? QByteArray() : response.mid(end + 4);
}

} // namespace

class TestEngineSimToday final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void descriptions_data();
    void descriptions();
    void descriptionFollowsHostHeader();
    void resultForms_data();
    void resultForms();
    void paging_data();
    void paging();
    void querySyntax_data();
    void querySyntax();
    void markupIsEscapedForEachForm_data();
    void markupIsEscapedForEachForm();
    void gzipWhenAsked();
    void httpsTrustsOnlyTheWrittenCertificate();
    void statusAnswers_data();
    void statusAnswers();
    void redirectsFollowed();
    void brokenDocuments_data();
    void brokenDocuments();
    void transportFaults_data();
    void transportFaults();
    void oversizeFeedIsValidAndStreamed();
    void allLeavesTheSevenAndDescriptionsAlone();
    void helpNamesEveryFault();

private:
    QString trustedHttps(const QString &path) const { return m_clean.httpsBase() + path; }
    RunEngineSim *sim(int index);

    QNetworkAccessManager m_nam;
    QSslConfiguration m_trusted;
    RunEngineSim m_clean;
    RunEngineSim m_statusFaults;
    RunEngineSim m_documentFaults;
    RunEngineSim m_transportFaults;
};

RunEngineSim *TestEngineSimToday::sim(int index)
{
    RunEngineSim *sims[] = {&m_clean, &m_statusFaults, &m_documentFaults, &m_transportFaults};
    return sims[index];
}

void TestEngineSimToday::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    WaitForThreadsEndAtExit();
    QVERIFY2(m_clean.startWithHttps(smallCorpus()), "trawlex-enginesim with HTTPS did not come up");
    QVERIFY(m_statusFaults.start(smallCorpus()
                                 + QStringList{"--fault", "atom=http403", "--fault", "rss=http429", "--fault", "json=http500",
                                               "--fault", "post=redirect-once", "--fault", "searx=bad-json", "--fault",
                                               "opensearch=bad-xml"}));
    QVERIFY(m_documentFaults.startWithHttps(smallCorpus()
                                            + QStringList{"--fault", "atom=redirect-downgrade", "--fault", "rss=bad-xml",
                                                          "--fault", "json=redirect-loop", "--fault", "post=no-end",
                                                          "--fault", "searx=garbage", "--fault", "opensearch=close-early"}));
    QVERIFY(m_transportFaults.start(smallCorpus()
                                    + QStringList{"--fault", "atom=oversize", "--fault", "rss=never", "--fault", "json=refuse",
                                                  "--fault", "post=trickle:20", "--fault", "all=http500"}));
    m_trusted = QSslConfiguration::defaultConfiguration();
    const QList<QSslCertificate> certificates = QSslCertificate::fromPath(m_clean.certificateFile());
    QCOMPARE(certificates.size(), 1);
    m_trusted.addCaCertificates(certificates);
}

void TestEngineSimToday::descriptions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("https");
    // "type template [method] [indexOffset=] [pageOffset=] [param ...]" for each Url, in order.
    QTest::addColumn<QStringList>("urls");

    const QString atom = QStringLiteral("application/atom+xml BASE/feed/atom?q={searchTerms}&start={startIndex?}&count={count?} "
                                        "indexOffset=1");
    QTest::newRow("atom") << "atom" << false << QStringList{atom};
    QTest::newRow("atom over https") << "atom" << true << QStringList{atom};
    QTest::newRow("rss offers a page before the feed")
        << "rss" << false
        << QStringList{"text/html BASE/html/search?q={searchTerms}",
                       "application/rss+xml BASE/feed/rss?q={searchTerms}&page={startPage?}&n={count?} pageOffset=1"};
    QTest::newRow("json") << "json" << true << QStringList{"application/json BASE/feed/json?q={searchTerms}&pageno={startPage}"};
    QTest::newRow("post with Param")
        << "post" << false << QStringList{"application/rss+xml BASE/feed/post POST Param:q={searchTerms} Param:page={startPage}"};
    QTest::newRow("post with parameters:Parameter")
        << "post-params" << true
        << QStringList{"application/rss+xml BASE/feed/post POST parameters:method=POST parameters:Parameter:q={searchTerms} "
                       "parameters:Parameter:page={startPage}"};
    QTest::newRow("html only") << "html" << false << QStringList{"text/html BASE/html/search?q={searchTerms}"};
}

void TestEngineSimToday::descriptions()
{
    QFETCH(QString, name);
    QFETCH(bool, https);
    QFETCH(QStringList, urls);

    QNetworkRequest request(QUrl((https ? m_clean.httpsBase() : m_clean.httpBase()) + "/opensearch/" + name + ".xml"));
    request.setSslConfiguration(m_trusted);
    const Reply reply = send(m_nam, request);
    QCOMPARE(reply.status, 200);
    QCOMPARE(reply.contentType, QByteArray("application/opensearchdescription+xml; charset=utf-8"));

    QXmlStreamReader xml(reply.body);
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.name(), u"OpenSearchDescription");
    QCOMPARE(xml.namespaceUri(), kOpenSearchNs);
    QHash<QString, QString> texts;
    QStringList found;
    while (xml.readNextStartElement()) {
        if (xml.name() != u"Url") {
            texts.insert(xml.name().toString(), xml.readElementText(QXmlStreamReader::SkipChildElements));
            continue;
        }
        const QXmlStreamAttributes a = xml.attributes();
        QStringList url{a.value("type").toString(), a.value("template").toString()};
        if (a.hasAttribute("method"))
            url.append(a.value("method").toString());
        if (a.hasAttribute(kParametersNs, "method"))
            url.append("parameters:method=" + a.value(kParametersNs, "method").toString());
        for (const char *offset : {"indexOffset", "pageOffset"}) {
            if (a.hasAttribute(QLatin1String(offset)))
                url.append(QLatin1String(offset) + u'=' + a.value(QLatin1String(offset)).toString());
        }
        while (xml.readNextStartElement()) {
            const QString prefix = xml.namespaceUri() == kParametersNs ? QStringLiteral("parameters:") : QString();
            url.append(prefix + xml.name().toString() + u':' + xml.attributes().value("name").toString() + u'='
                       + xml.attributes().value("value").toString());
            xml.skipCurrentElement();
        }
        found.append(url.join(u' '));
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(!texts.value("ShortName").isEmpty() && texts.value("ShortName").size() <= 16);
    QVERIFY(!texts.value("Description").isEmpty());
    QCOMPARE(texts.value("InputEncoding"), QStringLiteral("UTF-8"));
    const QString base = https ? m_clean.httpsBase() : m_clean.httpBase();
    QCOMPARE(found, urls.replaceInStrings(QStringLiteral("BASE"), base));
}

void TestEngineSimToday::descriptionFollowsHostHeader()
{
    const QByteArray port = QByteArray::number(m_clean.port());
    auto templateFor = [&](const QByteArray &host) {
        const RawAnswer answer = exchange(m_clean.port(), "GET /opensearch/json.xml HTTP/1.1\r\nHost: " + host + "\r\n\r\n", 5000);
        QXmlStreamReader xml(bodyOf(answer.bytes));
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"Url")
                return xml.attributes().value("template").toString();
        }
        return QString();
    };
    QCOMPARE(templateFor("localhost:" + port), "http://localhost:" + port + "/feed/json?q={searchTerms}&pageno={startPage}");
    // A Host that is not a plain host and port never reaches the document.
    QVERIFY(templateFor("evil.example\"/><x a=\"").startsWith(QString::fromLatin1("http://127.0.0.1:" + port + "/feed/json?")));
}

void TestEngineSimToday::resultForms_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("form"); // POST body; empty for GET
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<bool>("responseElements");

    QTest::newRow("atom") << "/feed/atom?q=apple" << QByteArray() << QByteArray("application/atom+xml; charset=utf-8") << true;
    QTest::newRow("rss") << "/feed/rss?q=apple" << QByteArray() << QByteArray("application/rss+xml; charset=utf-8") << true;
    QTest::newRow("json") << "/feed/json?q=apple&pageno=1" << QByteArray() << QByteArray("application/json; charset=utf-8") << false;
    QTest::newRow("post") << "/feed/post" << QByteArray("q=apple&page=1") << QByteArray("application/rss+xml; charset=utf-8") << true;
    QTest::newRow("searx json") << "/searx/search?q=apple&format=json&pageno=1" << QByteArray()
                                << QByteArray("application/json; charset=utf-8") << false;
    QTest::newRow("searx rss") << "/searx/search?q=apple&format=rss" << QByteArray()
                               << QByteArray("application/rss+xml; charset=utf-8") << true;
    QTest::newRow("searx json asked by POST") << "/searx/search" << QByteArray("q=apple&format=json")
                                              << QByteArray("application/json; charset=utf-8") << false;
}

void TestEngineSimToday::resultForms()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, form);
    QFETCH(QByteArray, contentType);
    QFETCH(bool, responseElements);

    const Reply reply = form.isEmpty() ? get(m_nam, m_clean.httpBase() + path) : postForm(m_nam, m_clean.httpBase() + path, form);
    QCOMPARE(reply.status, 200);
    QCOMPARE(reply.contentType, contentType);
    const Results results = readResults(reply);
    QVERIFY(results.wellFormed);
    QVERIFY(results.itemsComplete);
    QCOMPARE(results.urls, apples(1, 10));
    QCOMPARE(results.total, 25);
    if (responseElements) {
        QCOMPARE(results.startIndex, 1);
        QCOMPARE(results.itemsPerPage, 10);
    }
}

void TestEngineSimToday::paging_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("form");
    QTest::addColumn<QStringList>("urls");
    QTest::addColumn<int>("startIndex"); // -1: the form has none
    QTest::addColumn<int>("itemsPerPage");

    QTest::newRow("atom second page") << "/feed/atom?q=apple&start=11" << QByteArray() << apples(11, 20) << 11 << 10;
    QTest::newRow("atom short last page") << "/feed/atom?q=apple&start=21&count=10" << QByteArray() << apples(21, 25) << 21 << 10;
    QTest::newRow("atom beyond the last") << "/feed/atom?q=apple&start=31" << QByteArray() << QStringList() << 31 << 10;
    QTest::newRow("atom count") << "/feed/atom?q=apple&start=4&count=3" << QByteArray() << apples(4, 6) << 4 << 3;
    QTest::newRow("atom count capped at 50") << "/feed/atom?q=apple&count=500" << QByteArray() << apples(1, 25) << 1 << 50;
    QTest::newRow("atom empty optional parameters") << "/feed/atom?q=apple&start=&count=" << QByteArray() << apples(1, 10) << 1 << 10;
    QTest::newRow("rss page 2 of 7") << "/feed/rss?q=apple&page=2&n=7" << QByteArray() << apples(8, 14) << 8 << 7;
    QTest::newRow("rss short last page") << "/feed/rss?q=apple&page=3" << QByteArray() << apples(21, 25) << 21 << 10;
    QTest::newRow("rss beyond the last") << "/feed/rss?q=apple&page=4" << QByteArray() << QStringList() << 31 << 10;
    QTest::newRow("json short last page") << "/feed/json?q=apple&pageno=3" << QByteArray() << apples(21, 25) << -1 << -1;
    QTest::newRow("json beyond the last") << "/feed/json?q=apple&pageno=9" << QByteArray() << QStringList() << -1 << -1;
    QTest::newRow("searx rss page 2") << "/searx/search?q=apple&format=rss&pageno=2" << QByteArray() << apples(11, 20) << 11 << 10;
    QTest::newRow("post short last page") << "/feed/post" << QByteArray("q=apple&page=3") << apples(21, 25) << 21 << 10;
    QTest::newRow("post beyond the last") << "/feed/post" << QByteArray("page=4&q=apple") << QStringList() << 31 << 10;
}

void TestEngineSimToday::paging()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, form);
    QFETCH(QStringList, urls);
    QFETCH(int, startIndex);
    QFETCH(int, itemsPerPage);

    const Reply reply = form.isEmpty() ? get(m_nam, m_clean.httpBase() + path) : postForm(m_nam, m_clean.httpBase() + path, form);
    const Results results = readResults(reply);
    QVERIFY(results.wellFormed);
    QCOMPARE(results.urls, urls);
    QCOMPARE(results.total, 25);
    QCOMPARE(results.startIndex, startIndex);
    QCOMPARE(results.itemsPerPage, itemsPerPage);
}

void TestEngineSimToday::querySyntax_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("urls");

    const QString cafe = QStringLiteral("http://www.cafe.example.ch/");
    const QString bakery = QStringLiteral("http://bakery.example.com/");
    const QString green = QStringLiteral("http://tea.example.com/green.html");
    const QString notes = QStringLiteral("http://tea.example.com/notes.html");

    QTest::newRow("all words must match") << "apple pie" << apples(1, 5);
    QTest::newRow("-word excludes") << "apple -pie" << apples(6, 15);
    QTest::newRow("phrase keeps word order") << "\"green tea\"" << QStringList{green};
    QTest::newRow("excluded phrase") << "tea -\"green tea\"" << QStringList{notes};
    QTest::newRow("OR group") << "(sourdough OR lake)" << QStringList{cafe, bakery};
    QTest::newRow("OR group and exclusion") << "(bread OR coffee) -sourdough" << QStringList{cafe};
    QTest::newRow("lower-case or is a word") << "sourdough or lake" << QStringList();
    QTest::newRow("and is a word") << "apple and pie" << QStringList();
    QTest::newRow("intitle") << "intitle:seven" << QStringList{apple(7)};
    QTest::newRow("intitle phrase") << "apple intitle:\"page twenty\"" << QStringList{apple(20)};
    QTest::newRow("excluded intitle") << "tea -intitle:notes" << QStringList{green};
    QTest::newRow("inurl") << "apple inurl:orchard" << apples(1, 19, 2);
    QTest::newRow("site") << "apple site:fruit.example.org" << apples(2, 20, 2);
    QTest::newRow("site takes subdomains") << "apple site:example.org" << apples(2, 20, 2);
    QTest::newRow("excluded site") << "apple -site:fruit.example.org" << apples(1, 19, 2);
    QTest::newRow("UTF-8 word") << "zürich" << QStringList{cafe};
    QTest::newRow("only exclusions find nothing") << "-apple" << QStringList();
}

void TestEngineSimToday::querySyntax()
{
    QFETCH(QString, query);
    QFETCH(QStringList, urls);
    const QString path = "/searx/search?format=json&q=" + QString::fromLatin1(QUrl::toPercentEncoding(query));
    const Results results = readResults(get(m_nam, m_clean.httpBase() + path));
    QVERIFY(results.wellFormed);
    QCOMPARE(results.urls, urls);
}

void TestEngineSimToday::markupIsEscapedForEachForm_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("summary");

    // The words searched for come in bold; the page's own "<fresh>" is text, so in HTML it is escaped.
    QTest::newRow("atom: title and summary are HTML")
        << "/feed/atom?q=bread" << "<b>Bread</b> &amp; Butter" << "<b>Bread</b> &lt;fresh&gt; daily, &quot;sourdough&quot; too.";
    QTest::newRow("rss: title is text, description HTML")
        << "/feed/rss?q=bread" << "Bread & Butter" << "<b>Bread</b> &lt;fresh&gt; daily, &quot;sourdough&quot; too.";
    QTest::newRow("json: text as it is") << "/feed/json?q=bread&pageno=1" << "Bread & Butter" << "Bread <fresh> daily, \"sourdough\" too.";
}

void TestEngineSimToday::markupIsEscapedForEachForm()
{
    QFETCH(QString, path);
    QFETCH(QString, title);
    QFETCH(QString, summary);
    const Results results = readResults(get(m_nam, m_clean.httpBase() + path));
    QVERIFY(results.wellFormed);
    QCOMPARE(results.titles, QStringList{title});
    QCOMPARE(results.summaries, QStringList{summary});
}

void TestEngineSimToday::gzipWhenAsked()
{
    const QByteArray request = "GET /feed/atom?q=apple HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(m_clean.port()) + "\r\n";
    const RawAnswer plain = exchange(m_clean.port(), request + "\r\n", 5000);
    const RawAnswer packed = exchange(m_clean.port(), request + "Accept-Encoding: deflate, gzip;q=0.8\r\n\r\n", 5000);
    const RawAnswer declined = exchange(m_clean.port(), request + "Accept-Encoding: gzip;q=0\r\n\r\n", 5000);

    QVERIFY(plain.closedByServer && packed.closedByServer);
    QVERIFY(!plain.bytes.contains("Content-Encoding"));
    QVERIFY(!declined.bytes.contains("Content-Encoding"));
    QVERIFY(packed.bytes.contains("\r\nContent-Encoding: gzip\r\n"));
    QVERIFY(packed.bytes.contains("\r\nConnection: close\r\n"));
    const QByteArray body = bodyOf(packed.bytes);
    QCOMPARE(body.size(), contentLength(packed.bytes));
    QVERIFY(body.size() < bodyOf(plain.bytes).size());
    // A gzip member: magic, deflate, and the uncompressed length in its last four bytes.
    QVERIFY(body.startsWith("\x1f\x8b\x08"));
    const auto *tail = reinterpret_cast<const uchar *>(body.constData() + body.size() - 4);
    QCOMPARE(qsizetype(tail[0] | tail[1] << 8 | tail[2] << 16 | tail[3] << 24), bodyOf(plain.bytes).size());

    // Qt's client asks for gzip itself and unpacks it: the same feed.
    const Reply reply = get(m_nam, m_clean.httpBase() + "/feed/atom?q=apple");
    QCOMPARE(reply.body, bodyOf(plain.bytes));
}

void TestEngineSimToday::httpsTrustsOnlyTheWrittenCertificate()
{
    const QSslCertificate certificate = m_trusted.caCertificates().constLast();
    QVERIFY(certificate.isSelfSigned());
    const auto names = certificate.subjectAlternativeNames();
    QVERIFY(names.values(QSsl::IpAddressEntry).contains(QStringLiteral("127.0.0.1")));
    QVERIFY(names.values(QSsl::DnsEntry).contains(QStringLiteral("localhost")));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QVERIFY(certificate.effectiveDate() <= now.addSecs(-23 * 3600));
    QCOMPARE(certificate.effectiveDate().daysTo(certificate.expiryDate()), 30);

    for (const QString &host : {QStringLiteral("127.0.0.1"), QStringLiteral("localhost")}) {
        QNetworkRequest request(QUrl(QStringLiteral("https://%1:%2/feed/rss?q=apple").arg(host).arg(m_clean.httpsPort())));
        request.setSslConfiguration(m_trusted);
        const Reply reply = send(m_nam, request);
        QCOMPARE(reply.error, QNetworkReply::NoError);
        QCOMPARE(readResults(reply).urls, apples(1, 10));
    }
    // The seven answer over HTTPS too.
    QNetworkRequest old(QUrl(trustedHttps("/altavista/cgi-bin/query?pg=aq&q=apple")));
    old.setSslConfiguration(m_trusted);
    QCOMPARE(send(m_nam, old).status, 200);

    // Without the certificate, verification (left on) refuses the server.
    QNetworkAccessManager stranger;
    const Reply refused = get(stranger, trustedHttps("/feed/rss?q=apple"));
    QCOMPARE(refused.error, QNetworkReply::SslHandshakeFailedError);
    QVERIFY(refused.body.isEmpty());
}

void TestEngineSimToday::statusAnswers_data()
{
    QTest::addColumn<int>("simIndex");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("form");
    QTest::addColumn<bool>("https");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("location"); // BASE, HTTP stand for the simulator's addresses
    QTest::addColumn<QByteArray>("retryAfter");

    QTest::newRow("http403") << 1 << "/feed/atom?q=apple" << QByteArray() << false << 403 << QByteArray() << QByteArray();
    QTest::newRow("http429 says when to retry")
        << 1 << "/feed/rss?q=apple" << QByteArray() << false << 429 << QByteArray() << QByteArray("120");
    QTest::newRow("http500") << 1 << "/feed/json?q=apple&pageno=1" << QByteArray() << false << 500 << QByteArray() << QByteArray();
    QTest::newRow("redirect-once keeps a POST") << 1 << "/feed/post" << QByteArray("q=apple&page=1") << false << 307
                                   << QByteArray("BASE/moved/feed/post") << QByteArray();
    QTest::newRow("redirect-loop points at itself")
        << 2 << "/feed/json?q=apple&pageno=2" << QByteArray() << false << 302 << QByteArray("BASE/feed/json?q=apple&pageno=2")
        << QByteArray();
    QTest::newRow("redirect-downgrade from https") << 2 << "/feed/atom?q=apple&start=11" << QByteArray() << true << 302
                                                   << QByteArray("HTTP/feed/atom?q=apple&start=11") << QByteArray();
    QTest::newRow("redirect-downgrade: plain http answers") << 2 << "/feed/atom?q=apple" << QByteArray() << false << 200
                                                            << QByteArray() << QByteArray();
    QTest::newRow("unknown feed") << 0 << "/feed/other?q=apple" << QByteArray() << false << 404 << QByteArray() << QByteArray();
    QTest::newRow("unknown description") << 0 << "/opensearch/gopher.xml" << QByteArray() << false << 404 << QByteArray() << QByteArray();
    QTest::newRow("POST form asked by GET") << 0 << "/feed/post?q=apple" << QByteArray() << false << 405 << QByteArray() << QByteArray();
    QTest::newRow("metasearch without a served format")
        << 0 << "/searx/search?q=apple&format=csv" << QByteArray() << false << 403 << QByteArray() << QByteArray();
}

void TestEngineSimToday::statusAnswers()
{
    QFETCH(int, simIndex);
    QFETCH(QString, path);
    QFETCH(QByteArray, form);
    QFETCH(bool, https);
    QFETCH(int, status);
    QFETCH(QByteArray, location);
    QFETCH(QByteArray, retryAfter);

    RunEngineSim *server = sim(simIndex);
    const QString base = https ? server->httpsBase() : server->httpBase();
    QSslConfiguration trust = QSslConfiguration::defaultConfiguration();
    if (https)
        trust.addCaCertificates(QSslCertificate::fromPath(server->certificateFile()));
    QNetworkRequest request(QUrl(base + path));
    request.setSslConfiguration(trust);
    if (!form.isEmpty())
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/x-www-form-urlencoded"));
    const Reply reply = send(m_nam, request, form, !form.isEmpty());
    QCOMPARE(reply.status, status);
    QCOMPARE(reply.location, QByteArray(location).replace("BASE", base.toLatin1()).replace("HTTP", server->httpBase().toLatin1()));
    QCOMPARE(reply.retryAfter, retryAfter);
    if (status == 200)
        QCOMPARE(readResults(reply).urls, apples(1, 10));
}

void TestEngineSimToday::redirectsFollowed()
{
    QNetworkRequest once(QUrl(m_statusFaults.httpBase() + "/feed/post"));
    once.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    once.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/x-www-form-urlencoded"));
    const Reply moved = send(m_nam, once, "q=apple&page=2", true);
    QCOMPARE(moved.error, QNetworkReply::NoError);
    QCOMPARE(moved.status, 200);
    QCOMPARE(readResults(moved).urls, apples(11, 20));

    QNetworkRequest loop(QUrl(m_documentFaults.httpBase() + "/feed/json?q=apple&pageno=1"));
    loop.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    loop.setMaximumRedirectsAllowed(5);
    QCOMPARE(send(m_nam, loop).error, QNetworkReply::TooManyRedirectsError);

    QSslConfiguration trust = QSslConfiguration::defaultConfiguration();
    trust.addCaCertificates(QSslCertificate::fromPath(m_documentFaults.certificateFile()));
    QNetworkRequest downgrade(QUrl(m_documentFaults.httpsBase() + "/feed/atom?q=apple"));
    downgrade.setSslConfiguration(trust);
    downgrade.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QCOMPARE(send(m_nam, downgrade).error, QNetworkReply::InsecureRedirectError);
}

void TestEngineSimToday::brokenDocuments_data()
{
    QTest::addColumn<int>("simIndex");
    QTest::addColumn<QString>("path");

    QTest::newRow("bad-json") << 1 << "/searx/search?q=apple&format=json";
    QTest::newRow("bad-xml description") << 1 << "/opensearch/json.xml";
    QTest::newRow("bad-xml feed") << 2 << "/feed/rss?q=apple";
    QTest::newRow("garbage") << 2 << "/searx/search?q=apple&format=json";
}

void TestEngineSimToday::brokenDocuments()
{
    QFETCH(int, simIndex);
    QFETCH(QString, path);
    const Reply reply = get(m_nam, sim(simIndex)->httpBase() + path);
    QCOMPARE(reply.status, 200);
    QVERIFY(!reply.body.isEmpty());
    QVERIFY(!readResults(reply).wellFormed);
    // The same request to a healthy server gives a well-formed answer.
    QVERIFY(readResults(get(m_nam, m_clean.httpBase() + path)).wellFormed);
}

void TestEngineSimToday::transportFaults_data()
{
    QTest::addColumn<int>("simIndex");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("waitMs");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<bool>("complete"); // as many body bytes as Content-Length says

    const QByteArray post = "POST /feed/post HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/x-www-form-urlencoded\r\n"
                            "Content-Length: 14\r\n\r\nq=apple&page=1";
    QTest::newRow("no-end") << 2 << post << 500 << false << false << false;
    QTest::newRow("close-early") << 2 << QByteArray("GET /opensearch/rss.xml HTTP/1.1\r\n\r\n") << 3000 << true << false << false;
    QTest::newRow("never") << 3 << QByteArray("GET /feed/rss?q=apple HTTP/1.1\r\n\r\n") << 500 << false << true << false;
    QTest::newRow("refuse") << 3 << QByteArray("GET /feed/json?q=apple HTTP/1.1\r\n\r\n") << 3000 << true << true << false;
    QTest::newRow("trickle") << 3 << post << 300 << false << false << false;
    QTest::newRow("healthy POST") << 0 << post << 3000 << true << false << true;
}

void TestEngineSimToday::transportFaults()
{
    QFETCH(int, simIndex);
    QFETCH(QByteArray, request);
    QFETCH(int, waitMs);
    QFETCH(bool, closed);
    QFETCH(bool, empty);
    QFETCH(bool, complete);

    const RawAnswer answer = exchange(sim(simIndex)->port(), request, waitMs);
    QCOMPARE(answer.closedByServer, closed);
    QCOMPARE(answer.bytes.isEmpty(), empty);
    if (!empty && QByteArray(QTest::currentDataTag()) != "trickle") {
        QVERIFY(answer.bytes.startsWith("HTTP/1.1 200 OK\r\n"));
        QCOMPARE(bodyOf(answer.bytes).size() == contentLength(answer.bytes), complete);
    }
    if (QByteArray(QTest::currentDataTag()) == "trickle")
        QVERIFY(answer.bytes.size() < 100);
}

void TestEngineSimToday::oversizeFeedIsValidAndStreamed()
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, quint16(m_transportFaults.port()));
    QVERIFY(socket.waitForConnected(5000));
    socket.write("GET /feed/atom?q=apple HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept-Encoding: gzip\r\n\r\n");
    QByteArray head;
    while (!head.contains("\r\n\r\n") && socket.waitForReadyRead(5000))
        head += socket.read(4096);
    const qsizetype bodyStart = head.indexOf("\r\n\r\n") + 4;
    QVERIFY(bodyStart > 4);
    const qsizetype announced = contentLength(head);
    QVERIFY2(announced > 33 * 1024 * 1024, QByteArray::number(announced).constData());
    QVERIFY(!head.left(bodyStart).contains("Content-Encoding"));

    // Read as it comes, never held whole here either.
    QXmlStreamReader xml;
    xml.addData(head.mid(bodyStart));
    qsizetype received = head.size() - bodyStart;
    int entries = 0;
    QElapsedTimer clock;
    clock.start();
    auto drain = [&] {
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"entry")
                ++entries;
            if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError)
                return;
        }
    };
    drain();
    while (clock.elapsed() < 60000 && (socket.bytesAvailable() || socket.waitForReadyRead(5000))) {
        const QByteArray chunk = socket.read(1 << 20);
        received += chunk.size();
        xml.addData(chunk);
        drain();
    }
    QCOMPARE(received, announced);
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(xml.tokenType(), QXmlStreamReader::EndDocument);
    QVERIFY(entries > 50000);
}

void TestEngineSimToday::allLeavesTheSevenAndDescriptionsAlone()
{
    // all=http500 on this simulator; the seven cannot show an HTTP status fault, and
    // the description documents are faulty only by name.
    const Reply old = get(m_nam, m_transportFaults.httpBase() + "/altavista/cgi-bin/query?pg=aq&q=apple");
    QCOMPARE(old.status, 200);
    QVERIFY(old.body.contains("<dt><font size=-1><b>"));
    QCOMPARE(get(m_nam, m_transportFaults.httpBase() + "/searx/search?q=apple&format=json").status, 500);
    const Reply description = get(m_nam, m_transportFaults.httpBase() + "/opensearch/atom.xml");
    QCOMPARE(description.status, 200);
    QXmlStreamReader xml(description.body);
    while (!xml.atEnd())
        xml.readNext();
    QVERIFY(!xml.hasError());
}

void TestEngineSimToday::helpNamesEveryFault()
{
    QProcess help;
    help.start(TestPaths::engineSimProgram(), {QStringLiteral("--help")});
    QVERIFY(help.waitForFinished(10000));
    const QByteArray text = help.readAllStandardOutput();
    for (const char *name : {"http403", "http429", "http500", "redirect-loop", "redirect-downgrade", "redirect-once", "bad-xml",
                             "bad-json", "oversize", "--https-port", "--cert-file", "/opensearch/", "/searx/search"})
        QVERIFY2(text.contains(name), name);

    QProcess wrong;
    wrong.start(TestPaths::engineSimProgram(), {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--fault"),
                                                QStringLiteral("atom=http418")});
    QVERIFY(wrong.waitForFinished(10000));
    QCOMPARE(wrong.exitCode(), 2);
    QVERIFY(wrong.readAllStandardError().contains("redirect-downgrade"));
}

QTEST_GUILESS_MAIN(TestEngineSimToday)
#include "tst_enginesim_today.moc"
