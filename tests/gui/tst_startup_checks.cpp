// The start-up's questions: the connection type when none (or an unknown one) is stored, the
// Internet session test, and the version-check offer at the first, second and every tenth start.
#include "FrameTestSupport.h"
#include "PrefsModalDriver.h"
#include "PrefsVersionServer.h"

#include "dialogs/CConnectionDlg.h"
#include "dialogs/CSettingsCommands.h"
#include "frame/CMainFrame.h"
#include "run/CRunMonitor.h"
#include "startup/CStartupChecks.h"
#include "version/CVersionCheckController.h"

#include <QPushButton>
#include <QSettings>
#include <QTest>

namespace {
const QString kOffer = QStringLiteral("Would you like to search the Internet to see if a newer version of Trawlex is available?");
const QString kNoSession = QStringLiteral("Error!  Internet session must be active to load Trawlex.");

QPushButton *button(QWidget *dlg, const QString &text)
{
    for (QPushButton *b : dlg->findChildren<QPushButton *>())
        if (b->text() == text)
            return b;
    return nullptr;
}
} // namespace

class TestStartupChecks final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void connectionType_data();
    void connectionType();
    void sessionTest_data();
    void sessionTest();
    void offerCounter();
    void offerAnsweredYes();
    void throughTheFrame();

private:
    QString iniPath() const { return m_store->dir.filePath(QStringLiteral("settings.ini")); }
    QVariant stored(const QString &key) const
    {
        return QSettings(iniPath(), QSettings::IniFormat).value(QStringLiteral("Version 1.12/") + key);
    }
    void store(const QString &key, const QVariant &value)
    {
        QSettings s(iniPath(), QSettings::IniFormat);
        s.setValue(QStringLiteral("Version 1.12/") + key, value);
    }
    // A fresh settings object, as a new start reads them.
    CTrawlexSettings &restart()
    {
        m_store->settings = std::make_unique<CTrawlexSettings>(iniPath());
        m_store->settings->load();
        return *m_store->settings;
    }

    std::unique_ptr<FrameTest::Store> m_store;
    std::unique_ptr<PrefsModalDriver> m_driver;
};

void TestStartupChecks::init()
{
    m_store = std::make_unique<FrameTest::Store>();
    QVERIFY(m_store->open());
    m_driver = std::make_unique<PrefsModalDriver>();
}

void TestStartupChecks::cleanup()
{
    QVERIFY2(m_driver->unanswered.isEmpty(), qPrintable(m_driver->unanswered.join(u'\n')));
    m_driver.reset();
    m_store.reset();
}

void TestStartupChecks::connectionType_data()
{
    QTest::addColumn<QVariant>("before"); // invalid: absent
    QTest::addColumn<QString>("answer");  // empty: no dialog expected
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("direct");

    QTest::newRow("absent, direct") << QVariant() << "Direct or AOL" << "Direct" << true;
    QTest::newRow("absent, dial-up") << QVariant() << "Dial-Up" << "Dial" << false;
    QTest::newRow("absent, closed") << QVariant() << "close" << "Dial" << false;
    QTest::newRow("lower case direct") << QVariant(QStringLiteral("direct")) << "Direct or AOL" << "Direct" << true;
    QTest::newRow("lower case dial") << QVariant(QStringLiteral("dial")) << "Dial-Up" << "Dial" << false;
    QTest::newRow("blank before Direct") << QVariant(QStringLiteral(" Direct")) << "Direct or AOL" << "Direct" << true;
    QTest::newRow("empty text") << QVariant(QString()) << "Dial-Up" << "Dial" << false;
    QTest::newRow("a number") << QVariant(1) << "Direct or AOL" << "Direct" << true;
    QTest::newRow("Direct kept") << QVariant(QStringLiteral("Direct")) << QString() << "Direct" << true;
    QTest::newRow("Dial kept") << QVariant(QStringLiteral("Dial")) << QString() << "Dial" << false;
}

void TestStartupChecks::connectionType()
{
    QFETCH(QVariant, before);
    QFETCH(QString, answer);
    QFETCH(QString, after);
    QFETCH(bool, direct);

    if (before.isValid())
        store(QStringLiteral("TXconn"), before);
    CTrawlexSettings &settings = restart();
    CStartupChecks checks(settings, m_store->prompt, nullptr);
    QList<bool> sessionAsked;
    checks.setSessionTest([&](bool d) {
        sessionAsked << d;
        return true;
    });
    int dialogs = 0;
    if (!answer.isEmpty()) {
        m_driver->expect<CConnectionDlg>([&](CConnectionDlg *dlg) {
            ++dialogs;
            if (answer == QLatin1String("close"))
                dlg->close();
            else
                QTest::mouseClick(button(dlg, answer), Qt::LeftButton);
        });
    }
    QVERIFY(checks.SettleConnection());
    QCOMPARE(dialogs, answer.isEmpty() ? 0 : 1);
    QCOMPARE(m_driver->pending(), 0);
    QCOMPARE(stored(QStringLiteral("TXconn")).toString(), after);
    QCOMPARE(settings.DirectConnection, direct);
    QCOMPARE(sessionAsked, QList<bool>{direct});
    QVERIFY(m_store->prompt.messages.isEmpty());
}

void TestStartupChecks::sessionTest_data()
{
    QTest::addColumn<QString>("connection");
    QTest::addColumn<bool>("linkUp");
    QTest::addColumn<bool>("passes");

    QTest::newRow("dial, link up") << "Dial" << true << true;
    QTest::newRow("dial, no link") << "Dial" << false << false;
    QTest::newRow("direct") << "Direct" << false << true;
}

// The real test for "Direct"; a stand-in link state for dial-up. A failed test ends the start
// before the version-check counter moves.
void TestStartupChecks::sessionTest()
{
    QFETCH(QString, connection);
    QFETCH(bool, linkUp);
    QFETCH(bool, passes);

    store(QStringLiteral("TXconn"), connection);
    CTrawlexSettings &settings = restart();
    CStartupChecks checks(settings, m_store->prompt, nullptr);
    if (connection == QLatin1String("Dial"))
        checks.setSessionTest([&](bool direct) { return direct || linkUp; });
    CVersionCheckController versionCheck(settings, m_store->prompt, nullptr);
    m_store->prompt.answer = false;

    QCOMPARE(checks.Run(&versionCheck), passes);
    if (passes) {
        QCOMPARE(m_store->prompt.questions, QStringList{kOffer});
        QVERIFY(m_store->prompt.messages.isEmpty());
        QCOMPARE(stored(QStringLiteral("VersionCheck")).toInt(), 0);
    } else {
        QCOMPARE(m_store->prompt.messages, QStringList{kNoSession});
        QVERIFY(m_store->prompt.questions.isEmpty());
        QVERIFY(!stored(QStringLiteral("VersionCheck")).isValid());
    }
}

// Asked at the 1st and 2nd start, then the 11th, 21st, ...; the counter counts from 0.
void TestStartupChecks::offerCounter()
{
    store(QStringLiteral("TXconn"), QStringLiteral("Direct"));
    QList<int> askedAt;
    QList<int> counters;
    for (int start = 1; start <= 32; ++start) {
        CTrawlexSettings &settings = restart();
        m_store->prompt.clear();
        m_store->prompt.answer = false;
        CStartupChecks checks(settings, m_store->prompt, nullptr);
        CVersionCheckController versionCheck(settings, m_store->prompt, nullptr);
        QVERIFY(checks.Run(&versionCheck));
        if (!m_store->prompt.questions.isEmpty()) {
            QCOMPARE(m_store->prompt.questions, QStringList{kOffer});
            askedAt << start;
        }
        counters << stored(QStringLiteral("VersionCheck")).toInt();
    }
    QCOMPARE(askedAt, (QList<int>{1, 2, 11, 21, 31}));
    for (int i = 0; i < counters.size(); ++i)
        QCOMPARE(counters.at(i), i);

    // A negative stored counter is a first start again.
    store(QStringLiteral("VersionCheck"), -7);
    m_store->prompt.clear();
    CTrawlexSettings &settings = restart();
    CStartupChecks checks(settings, m_store->prompt, nullptr);
    CVersionCheckController versionCheck(settings, m_store->prompt, nullptr);
    QVERIFY(checks.Run(&versionCheck));
    QCOMPARE(m_store->prompt.questions.size(), 1);
    QCOMPARE(stored(QStringLiteral("VersionCheck")).toInt(), 0);
}

// Yes runs the check at once: start-up has just found a session, so it is not tested again.
void TestStartupChecks::offerAnsweredYes()
{
    PrefsVersionServer server;
    QVERIFY(server.listen());
    server.chunks = {"HTTP/1.0 200 OK\r\n\r\n#1.12#same#@"};

    store(QStringLiteral("TXconn"), QStringLiteral("Direct"));
    CTrawlexSettings &settings = restart();
    CStartupChecks checks(settings, m_store->prompt, nullptr);
    CVersionCheckController versionCheck(settings, m_store->prompt, nullptr);
    versionCheck.setServer(server.address());
    versionCheck.setTimeLimit(3000);
    int commandSessionTests = 0;
    versionCheck.setSessionTest([&] {
        ++commandSessionTests;
        return false;
    });
    m_store->prompt.answer = true;
    QVERIFY(checks.Run(&versionCheck));
    QCOMPARE(commandSessionTests, 0);
    QCOMPARE(server.connections, 1);
    QCOMPARE(m_store->prompt.messages, QStringList{QStringLiteral("You are using the most current version of Trawlex.")});
}

// The application's one call: it uses the frame's installed version check.
void TestStartupChecks::throughTheFrame()
{
    PrefsVersionServer server;
    QVERIFY(server.listen());
    server.chunks = {"HTTP/1.0 200 OK\r\n\r\n#1.0#older#@"};

    store(QStringLiteral("TXconn"), QStringLiteral("direct"));
    CTrawlexSettings &settings = restart();
    CTrawlexDoc &doc = m_store->doc;
    CRunMonitor monitor(doc, doc.Query(), doc.ResultsSet(), m_store->prompt);
    CMainFrame frame(doc, settings, monitor, m_store->prompt);
    CSettingsCommands *commands = InstallSettingsCommands(frame, settings, m_store->prompt);
    commands->versionCheck().setServer(server.address());
    m_driver->expect<CConnectionDlg>([](CConnectionDlg *dlg) { QTest::mouseClick(button(dlg, QStringLiteral("Direct or AOL")), Qt::LeftButton); });
    m_store->prompt.answer = true;

    QVERIFY(RunStartupChecks(frame, settings, m_store->prompt));
    QCOMPARE(m_driver->pending(), 0);
    QCOMPARE(stored(QStringLiteral("TXconn")).toString(), QStringLiteral("Direct"));
    QCOMPARE(m_store->prompt.questions, QStringList{kOffer});
    QCOMPARE(server.connections, 1);
    QCOMPARE(m_store->prompt.messages, QStringList{QStringLiteral("You are using the most current version of Trawlex.")});
}

QTEST_MAIN(TestStartupChecks)
#include "tst_startup_checks.moc"
