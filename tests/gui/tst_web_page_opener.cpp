// Browse, the download page and every other address the program opens reach the desktop
// only when they are web pages: an address from a tampered result page must never open a
// file, run a script or start another program.
#include "ResultsTestSupport.h"
#include "ViewsTestFixture.h"

#include "app/WebAddress.h"
#include "common/WebPageOpener.h"
#include "views/CTrawlexBrowseButton.h"
#include "views/CTrawlexQueryResultsView.h"

#include <QDesktopServices>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>

// Stands in for every handler the desktop could have: whatever reaches it would have opened.
class OpenCatcher final : public QObject
{
    Q_OBJECT
public:
    OpenCatcher()
    {
        for (const QString &scheme : schemes())
            QDesktopServices::setUrlHandler(scheme, this, "openUrl");
    }
    ~OpenCatcher() override
    {
        for (const QString &scheme : schemes())
            QDesktopServices::unsetUrlHandler(scheme);
    }
    static QStringList schemes()
    {
        return {QStringLiteral("http"),   QStringLiteral("https"),      QStringLiteral("file"),
                QStringLiteral("ftp"),    QStringLiteral("javascript"), QStringLiteral("mailto"),
                QStringLiteral("telnet"), QStringLiteral("data"),       QString()};
    }
    QList<QUrl> urls;
public Q_SLOTS:
    void openUrl(const QUrl &url) { urls << url; }
};

class tst_web_page_opener final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void addresses_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("opened"); // empty: refused

        QTest::newRow("http") << QStringLiteral("http://host.example/a.html") << QStringLiteral("http://host.example/a.html");
        QTest::newRow("https with query") << QStringLiteral("https://host.example/s?p=a&b=2")
                                          << QStringLiteral("https://host.example/s?p=a&b=2");
        QTest::newRow("upper case") << QStringLiteral("HTTP://HOST.EXAMPLE/Page.HTM") << QStringLiteral("http://host.example/Page.HTM");
        QTest::newRow("with port") << QStringLiteral("http://127.0.0.1:8080/x") << QStringLiteral("http://127.0.0.1:8080/x");
        QTest::newRow("blanks around") << QStringLiteral("  http://host.example/a \r\n") << QStringLiteral("http://host.example/a");
        QTest::newRow("blank in the path") << QStringLiteral("http://host.example/wild orchids.html")
                                           << QStringLiteral("http://host.example/wild%20orchids.html");

        QTest::newRow("file") << QStringLiteral("file:///etc/passwd") << QString();
        QTest::newRow("file upper case") << QStringLiteral("FILE:///etc/passwd") << QString();
        QTest::newRow("javascript") << QStringLiteral("javascript:alert(1)") << QString();
        QTest::newRow("mailto") << QStringLiteral("mailto:someone@host.example") << QString();
        QTest::newRow("ftp") << QStringLiteral("ftp://ftp.host.example/pub/") << QString();
        QTest::newRow("telnet") << QStringLiteral("telnet://host.example") << QString();
        QTest::newRow("data") << QStringLiteral("data:text/html,<b>x</b>") << QString();
        QTest::newRow("relative path") << QStringLiteral("docs/page.htm") << QString();
        QTest::newRow("absolute path") << QStringLiteral("/etc/passwd") << QString();
        QTest::newRow("host without scheme") << QStringLiteral("www.host.example/a") << QString();
        QTest::newRow("scheme-relative") << QStringLiteral("//host.example/a") << QString();
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("blanks only") << QStringLiteral("   ") << QString();
        QTest::newRow("no host") << QStringLiteral("http://") << QString();
        QTest::newRow("path without host") << QStringLiteral("http:/etc/passwd") << QString();
        QTest::newRow("opaque http") << QStringLiteral("http:host.example") << QString();
        QTest::newRow("blank in the host") << QStringLiteral("http://host .example/") << QString();
        QTest::newRow("line end inside") << QStringLiteral("http://host.example/\nfile:///etc/passwd") << QString();
        QTest::newRow("nul inside") << QStringLiteral("http://host.example/a") + QChar(0) + QStringLiteral("b") << QString();
    }

    void addresses()
    {
        QFETCH(QString, address);
        QFETCH(QString, opened);

        OpenCatcher catcher;
        ViewsTest::RecordingPrompt prompt;
        const bool asked = WebPageOpener::Open(address, &prompt);
        QCOMPARE(asked, !opened.isEmpty());
        QCOMPARE(WebAddress::IsOpenable(address), !opened.isEmpty());
        if (opened.isEmpty()) {
            QVERIFY(catcher.urls.isEmpty());
            QCOMPARE(prompt.messages, QStringList{WebPageOpener::RefusedText(address)});
            QVERIFY(prompt.messages.first().contains(address));
        } else {
            QCOMPARE(catcher.urls.size(), 1);
            QCOMPARE(catcher.urls.first().toString(QUrl::FullyEncoded), opened);
            QVERIFY(prompt.messages.isEmpty());
        }
    }

    // The download page is built from a configured host: a bad one must not open elsewhere.
    void urlOverloadChecksToo()
    {
        OpenCatcher catcher;
        ViewsTest::RecordingPrompt prompt;
        QVERIFY(!WebPageOpener::Open(QUrl(QStringLiteral("file:///support/download.htm")), &prompt));
        QVERIFY(!WebPageOpener::Open(QUrl(QStringLiteral("http:///support/download.htm")), &prompt));
        QVERIFY(catcher.urls.isEmpty());
        QCOMPARE(prompt.messages.size(), 2);
        QVERIFY(WebPageOpener::Open(QUrl(QStringLiteral("http://www.host.example/support/download.htm")), &prompt));
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl(QStringLiteral("http://www.host.example/support/download.htm"))});
    }

    void browseRefusesAFileAddress_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("file") << QStringLiteral("file:///home/user/.ssh/id_rsa");
        QTest::newRow("relative") << QStringLiteral("../../etc/passwd");
        QTest::newRow("javascript") << QStringLiteral("javascript:void(0)");
    }

    // Browse on a hostile hit: the address is shown, nothing opens, no visit is recorded and
    // the page stays as it was.
    void browseRefusesAFileAddress()
    {
        QFETCH(QString, address);
        ViewsTest::Fixture f;
        QVERIFY(f.open());
        const int qid = f.addQuery(QStringLiteral("q"), {QStringLiteral("alpha")});
        f.query.m_strName = QStringLiteral("q");
        f.fillHits(qid, 3);
        ResultsTestSupport::editHits(f.results, [&](QList<CTrawlexHit> &hits) { hits[1].url = address; });
        CTrawlexQueryResultsView view;
        view.setPageModel(&f.pageModel);
        view.setPrompt(&f.prompt);
        view.resize(700, 500);
        QVERIFY(view.ShowPage());

        OpenCatcher catcher;
        auto *hostile = view.findChild<CTrawlexBrowseButton *>(QStringLiteral("50001"));
        QVERIFY(hostile);
        hostile->click();
        QCoreApplication::processEvents();
        QVERIFY(catcher.urls.isEmpty());
        QCOMPARE(f.prompt.messages, QStringList{WebPageOpener::RefusedText(address)});
        QCOMPARE(f.visitRows(), 0);
        QCOMPARE(view.m_nPage, 1);

        // The web page beside it still opens and counts as visited.
        auto *good = view.findChild<CTrawlexBrowseButton *>(QStringLiteral("50002"));
        QVERIFY(good);
        good->click();
        QCoreApplication::processEvents();
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl(QStringLiteral("http://host.example/2"))});
        QCOMPARE(f.visitRows(), 1);
        QCOMPARE(f.prompt.messages.size(), 1);
    }
};

QTEST_MAIN(tst_web_page_opener)
#include "tst_web_page_opener.moc"
