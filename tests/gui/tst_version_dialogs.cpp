// The version check as the user meets it, against a version server on 127.0.0.1: the replies
// and what each one shows, the time limit, Cancel, and the way to the download page.
#include "FrameTestSupport.h"
#include "ManualClock.h"
#include "PrefsModalDriver.h"
#include "PrefsVersionServer.h"
#include "TestPaths.h"

#include "TrawlexIds.h"
#include "version/CTrawlexCheckVersionDlg.h"
#include "version/CTrawlexNewVersionDlg.h"
#include "version/CVersionCheckController.h"
#include "version/VersionServerSettings.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTcpServer>
#include <QTest>

using namespace TrawlexIds;

namespace {
const QByteArray kHeaders = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";
const QString kCurrent = QStringLiteral("You are using the most current version of Trawlex.");
const QString kDown = QStringLiteral("Error! Quorvel Software Server is temporarily down.  Please try again later.");

QPushButton *button(QWidget *dlg, const QString &text)
{
    for (QPushButton *b : dlg->findChildren<QPushButton *>())
        if (b->text() == text)
            return b;
    return nullptr;
}

QString labelText(QWidget *dlg, int id)
{
    auto *label = dlg->findChild<QLabel *>(QString::number(id));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(id);
}
} // namespace

// Catches what the program hands to the desktop's browser.
class UrlCatcher final : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

class TestVersionDialogs final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void replies_data();
    void replies();
    void newVersionDialog_data();
    void newVersionDialog();
    void failures_data();
    void failures();
    void cancelEndsSilently();
    void noSessionNoCheck();
    void serverSettings();
    void screenshots();

private:
    CVersionCheckController &controller();

    UrlCatcher m_urls;
    std::unique_ptr<FrameTest::Store> m_store;
    std::unique_ptr<PrefsModalDriver> m_driver;
    std::unique_ptr<QWidget> m_frame;
    std::unique_ptr<CVersionCheckController> m_controller;
    PrefsVersionServer *m_server = nullptr;
    std::unique_ptr<PrefsVersionServer> m_serverOwner;
};

void TestVersionDialogs::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &m_urls, "open");
}

void TestVersionDialogs::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
}

void TestVersionDialogs::init()
{
    m_urls.urls.clear();
    m_store = std::make_unique<FrameTest::Store>();
    QVERIFY(m_store->open());
    m_driver = std::make_unique<PrefsModalDriver>();
    m_frame = std::make_unique<QWidget>();
    m_serverOwner = std::make_unique<PrefsVersionServer>();
    m_server = m_serverOwner.get();
    QVERIFY(m_server->listen());
    m_controller = std::make_unique<CVersionCheckController>(*m_store->settings, m_store->prompt, m_frame.get());
    m_controller->setServer(m_server->address());
    m_controller->setWebHost(QStringLiteral("downloads.example.test"));
    m_controller->setTimeLimit(3000);
}

void TestVersionDialogs::cleanup()
{
    QVERIFY2(m_driver->unanswered.isEmpty(), qPrintable(m_driver->unanswered.join(u'\n')));
    m_controller.reset();
    m_serverOwner.reset();
    m_frame.reset();
    m_driver.reset();
    m_store.reset();
}

CVersionCheckController &TestVersionDialogs::controller()
{
    return *m_controller;
}

void TestVersionDialogs::replies_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<bool>("closeAfter");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("current") << QList<QByteArray>{kHeaders + "#1.12#Faster searches#@"} << false << QStringList{kCurrent};
    QTest::newRow("older on the server") << QList<QByteArray>{kHeaders + "#1.05#old#@\n"} << true << QStringList{kCurrent};
    QTest::newRow("not a number counts as 0") << QList<QByteArray>{kHeaders + "#one point two#x#@"} << false
                                              << QStringList{kCurrent};
    QTest::newRow("@ without #") << QList<QByteArray>{kHeaders + "no marks here @ at all"} << false << QStringList{};
    QTest::newRow("@ without #, closed") << QList<QByteArray>{kHeaders, "@"} << true << QStringList{};
    QTest::newRow("end mark in a later chunk")
        << QList<QByteArray>{kHeaders, "#1.12#", "same#", "@"} << false << QStringList{kCurrent};
}

// A reply with its end mark closes the wait at once, whatever it says.
void TestVersionDialogs::replies()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(bool, closeAfter);
    QFETCH(QStringList, messages);

    m_server->chunks = chunks;
    m_server->closeAfter = closeAfter;
    QElapsedTimer clock;
    clock.start();
    controller().StartVersionCheck();
    QVERIFY2(clock.elapsed() < 2500, "the result should end the wait before the time limit");

    QCOMPARE(m_store->prompt.messages, messages);
    QCOMPARE(m_server->connections, 1);
    QVERIFY(m_server->requests.at(0).startsWith("GET /vcontrol/trawlex.htm HTTP/1.0\n"));
    QVERIFY(!controller().waitDialog()->isVisible());
    QVERIFY(m_urls.urls.isEmpty());
    QVERIFY(!m_frame->isVisible());
}

void TestVersionDialogs::newVersionDialog_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QString>("press");
    QTest::addColumn<QString>("versionsLine");
    QTest::addColumn<QString>("featuresLine");

    QTest::newRow("1.2, go to the web site")
        << QList<QByteArray>{kHeaders + "#1.2#Yahoo categories#@"} << "Go to Quorvel Software web site"
        << "Your version is 1.12.  The current version is 1.2." << "The new version features Yahoo categories.";
    QTest::newRow("1.2, return")
        << QList<QByteArray>{kHeaders + "#1.2#Yahoo categories#@"} << "Return to Trawlex"
        << "Your version is 1.12.  The current version is 1.2." << "The new version features Yahoo categories.";
    QTest::newRow("2 shown as 2.0")
        << QList<QByteArray>{kHeaders + "#2#A new look#  @"} << "Return to Trawlex"
        << "Your version is 1.12.  The current version is 2.0." << "The new version features A new look.";
    QTest::newRow("no third #: features run to the end")
        << QList<QByteArray>{kHeaders + "#1.3#Spelling help @"} << "Return to Trawlex"
        << "Your version is 1.12.  The current version is 1.3." << "The new version features Spelling help @.";
    const QByteArray longPart(6000, 'a');
    QTest::newRow("two chunks, the second shorter")
        << QList<QByteArray>{kHeaders + "#1.5#" + longPart, "bc#@"} << "Return to Trawlex"
        << "Your version is 1.12.  The current version is 1.5."
        << "The new version features " + QString::fromLatin1(longPart) + "bc.";
    QTest::newRow("markup shown as text")
        << QList<QByteArray>{kHeaders + "#1.4#<b>bold</b> & more#@"} << "Return to Trawlex"
        << "Your version is 1.12.  The current version is 1.4." << "The new version features <b>bold</b> & more.";
}

void TestVersionDialogs::newVersionDialog()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QString, press);
    QFETCH(QString, versionsLine);
    QFETCH(QString, featuresLine);

    m_server->chunks = chunks;
    QString title, first, second, third;
    bool waitClosed = false;
    m_driver->expect<CTrawlexNewVersionDlg>([&](CTrawlexNewVersionDlg *dlg) {
        waitClosed = !controller().waitDialog()->isVisible();
        title = dlg->windowTitle();
        first = labelText(dlg, IDC_NEW_VERSION_LINE);
        second = labelText(dlg, IDC_NEW_VERSION_FEATURES);
        third = labelText(dlg, IDC_NEW_VERSION_PRESS);
        QTest::mouseClick(button(dlg, press), Qt::LeftButton);
    });
    controller().StartVersionCheck();

    QCOMPARE(m_driver->pending(), 0);
    QVERIFY(waitClosed);
    QCOMPARE(title, QStringLiteral("New Version Found"));
    QCOMPARE(first, versionsLine);
    QCOMPARE(second, featuresLine);
    QCOMPARE(third, QStringLiteral("Press 'Go to Quorvel Software web site' below to download new version."));
    QVERIFY(m_store->prompt.messages.isEmpty());
    if (press.startsWith(QLatin1String("Go to")))
        QCOMPARE(m_urls.urls, QList<QUrl>{QUrl(QStringLiteral("http://downloads.example.test/support/download.htm"))});
    else
        QVERIFY(m_urls.urls.isEmpty());
}

void TestVersionDialogs::failures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("no @, connection kept") << "no-end-mark";
    QTest::newRow("no @, server closes") << "closed-early";
    QTest::newRow("nothing at all") << "silent";
    QTest::newRow("endless reply without @") << "flood";
    QTest::newRow("nobody listening") << "refused";
}

// Whatever comes without an end mark ends by the time limit with the one message, and the
// main window is shown again.
void TestVersionDialogs::failures()
{
    QFETCH(QString, kind);
    const int limit = 600;
    controller().setTimeLimit(limit);
    if (kind == QLatin1String("no-end-mark")) {
        m_server->chunks = {kHeaders + "#1.2#no end mark#"};
    } else if (kind == QLatin1String("closed-early")) {
        m_server->chunks = {kHeaders + "#1.2#", "cut short#"};
        m_server->closeAfter = true;
    } else if (kind == QLatin1String("silent")) {
        m_server->silent = true;
    } else if (kind == QLatin1String("flood")) {
        m_server->repeatForever = 32 * 1024;
        m_server->pauseMs = 5;
    } else {
        // A port that was just free: nothing answers there.
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        const quint16 port = probe.serverPort();
        probe.close();
        controller().setServer(QStringLiteral("127.0.0.1:%1").arg(port));
    }

    // Once the worker has armed its limit and the server has said what it will, the limit
    // passes on the check's clock while the wait dialog is up.
    ManualClock clock;
    controller().setClock(clock);
    const auto serverDone = [&] {
        if (kind == QLatin1String("refused"))
            return true;
        if (kind == QLatin1String("silent"))
            return m_server->requests.size() == 1 && m_server->requests.first().contains("\n\n");
        if (kind == QLatin1String("closed-early"))
            return m_server->closed;
        return m_server->writes > 0;
    };
    qsizetype messagesBeforeLimit = -1;
    QTimer limitPasses;
    connect(&limitPasses, &QTimer::timeout, this, [&] {
        if (clock.activeTimers() != 1 || !serverDone())
            return;
        limitPasses.stop();
        messagesBeforeLimit = m_store->prompt.messages.size();
        clock.advance(std::chrono::milliseconds(limit));
    });
    limitPasses.start(1);
    controller().StartVersionCheck();

    QCOMPARE(messagesBeforeLimit, 0);
    QCOMPARE(m_store->prompt.messages, QStringList{kDown});
    QVERIFY(m_frame->isVisible());
    QVERIFY(m_urls.urls.isEmpty());
}

void TestVersionDialogs::cancelEndsSilently()
{
    m_server->silent = true;
    controller().setTimeLimit(5000);
    QString waitTitle, waitText;
    m_driver->expect<CTrawlexCheckVersionDlg>([&](CTrawlexCheckVersionDlg *dlg) {
        waitTitle = dlg->windowTitle();
        waitText = dlg->findChild<QLabel *>()->text();
        QTest::mouseClick(button(dlg, QStringLiteral("Cancel")), Qt::LeftButton);
    });
    QElapsedTimer clock;
    clock.start();
    controller().StartVersionCheck();
    QVERIFY2(clock.elapsed() < 2500, "Cancel must end the worker without waiting for the limit");
    QCOMPARE(waitTitle, QStringLiteral("Check New Version"));
    QCOMPARE(waitText, QStringLiteral("Please wait a moment while Trawlex checks whether or not you have the most "
                                      "current version..."));
    QCOMPARE(m_server->connections, 1);

    // Nothing turns up later either.
    QTest::qWait(200);
    QVERIFY(m_store->prompt.messages.isEmpty());
    QVERIFY(!m_frame->isVisible());

    // And the next check works as usual.
    m_server->silent = false;
    m_server->chunks = {kHeaders + "#1.12#x#@"};
    controller().StartVersionCheck();
    QCOMPARE(m_store->prompt.messages, QStringList{kCurrent});
}

void TestVersionDialogs::noSessionNoCheck()
{
    int asked = 0;
    controller().setSessionTest([&] {
        ++asked;
        return false;
    });
    controller().OnCheckVersion();
    QCOMPARE(asked, 1);
    QCOMPARE(m_store->prompt.messages,
             QStringList{QStringLiteral("Error!  Internet session must be active to do version check.")});
    QTest::qWait(50);
    QCOMPARE(m_server->connections, 0);

    // With a session the command goes on to the check.
    m_store->prompt.clear();
    controller().setSessionTest([] { return true; });
    m_server->chunks = {kHeaders + "#1.12#x#@"};
    controller().OnCheckVersion();
    QCOMPARE(m_store->prompt.messages, QStringList{kCurrent});
}

void TestVersionDialogs::serverSettings()
{
    const QString ini = m_store->dir.filePath(QStringLiteral("version.ini"));
    {
        VersionServerSettings settings(ini);
        QCOMPARE(settings.server(), VersionServerSettings::defaultServer());
        QCOMPARE(settings.downloadPage(),
                 QUrl(QStringLiteral("http://") + VersionServerSettings::defaultWebHost() + QStringLiteral("/support/download.htm")));
        settings.setServer(QStringLiteral("  "));
        QCOMPARE(settings.server(), VersionServerSettings::defaultServer());
        settings.setServer(QStringLiteral("versions.example.test:8080"));
        settings.setWebHost(QStringLiteral("www.example.test:8081"));
    }
    VersionServerSettings reread(ini);
    QCOMPARE(reread.server(), QStringLiteral("versions.example.test:8080"));
    QCOMPARE(reread.downloadPage(), QUrl(QStringLiteral("http://www.example.test:8081/support/download.htm")));
    // Beside the other settings.
    QCOMPARE(QSettings(ini, QSettings::IniFormat).value(QStringLiteral("Version 1.12/VersionServer")).toString(),
             QStringLiteral("versions.example.test:8080"));
}

void TestVersionDialogs::screenshots()
{
    const QString folder = TestPaths::binaryDir() + QStringLiteral("/screenshots");
    QVERIFY(QDir().mkpath(folder));
    CTrawlexCheckVersionDlg wait;
    CTrawlexNewVersionDlg found(1.12, 1.2, QStringLiteral("Yahoo categories and faster searches"));
    const QList<QPair<QDialog *, QString>> dialogs{{&wait, QStringLiteral("check_new_version.png")},
                                                   {&found, QStringLiteral("new_version_found.png")}};
    for (const auto &[dlg, name] : dialogs) {
        dlg->setModal(false);
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg));
        const QImage image = dlg->grab().toImage();
        QVERIFY(!image.isNull());
        QVERIFY(image.save(folder + u'/' + name));
        dlg->hide();
    }
}

QTEST_MAIN(TestVersionDialogs)
#include "tst_version_dialogs.moc"
