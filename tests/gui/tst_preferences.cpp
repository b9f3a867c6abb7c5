// Preferences, Internet Connection and About: the range checks and their messages, the loop
// back to the stored values, the refusal of text that is not a number, and what is stored.
#include "FrameTestSupport.h"
#include "PrefsModalDriver.h"
#include "TestPaths.h"

#include "TrawlexIds.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CConnectionDlg.h"
#include "dialogs/CPreferencesDlg.h"
#include "dialogs/CSettingsCommands.h"
#include "frame/CMainFrame.h"
#include "run/CRunMonitor.h"
#include "version/CVersionCheckController.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>

using namespace TrawlexIds;

namespace {
struct Entry
{
    QString conns, delay, days;
};

// What a showing of the dialog held when it came up, and what the test typed into it.
struct Showing
{
    QString conns, delay, days;
};

Showing fieldsOf(CPreferencesDlg *dlg)
{
    return {dlg->maxConnsEdit()->text(), dlg->maxDelayEdit()->text(), dlg->maxDaysEdit()->text()};
}

QPushButton *button(QWidget *dlg, const QString &text)
{
    for (QPushButton *b : dlg->findChildren<QPushButton *>())
        if (b->text() == text)
            return b;
    return nullptr;
}
} // namespace

class TestPreferences final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void ranges_data();
    void ranges();
    void notANumber_data();
    void notANumber();
    void parseUnsigned_data();
    void parseUnsigned();
    void cancelKeepsSettings();
    void negativeStoredValueShownAsZero();
    void connection_data();
    void connection();
    void frameCommands();
    void screenshots();

private:
    std::unique_ptr<FrameTest::Store> m_store;
    std::unique_ptr<PrefsModalDriver> m_driver;
};

void TestPreferences::init()
{
    m_store = std::make_unique<FrameTest::Store>();
    QVERIFY(m_store->open());
    m_driver = std::make_unique<PrefsModalDriver>();
}

void TestPreferences::cleanup()
{
    QVERIFY2(m_driver->unanswered.isEmpty(), qPrintable(m_driver->unanswered.join(u'\n')));
    m_driver.reset();
    m_store.reset();
}

void TestPreferences::ranges_data()
{
    QTest::addColumn<QString>("conns");
    QTest::addColumn<QString>("delay");
    QTest::addColumn<QString>("days");
    QTest::addColumn<QStringList>("messages");

    const QString c = QStringLiteral("Error!  Maximum connections must be between 1 and 4.");
    const QString d = QStringLiteral("Error!  Maximum delay must be between 45 and 360.");
    const QString u = QStringLiteral("Error!  Maximum number of days before dead links expire must be between 1 and 60.");

    QTest::newRow("all three wrong, in order") << "0" << "30" << "90" << QStringList{c, d, u};
    QTest::newRow("upper ends") << "4" << "360" << "60" << QStringList{};
    QTest::newRow("lower ends") << "1" << "45" << "1" << QStringList{};
    QTest::newRow("5 connections") << "5" << "60" << "7" << QStringList{c};
    QTest::newRow("361 seconds") << "4" << "361" << "7" << QStringList{d};
    QTest::newRow("44 seconds") << "4" << "44" << "7" << QStringList{d};
    QTest::newRow("61 days") << "4" << "60" << "61" << QStringList{u};
    QTest::newRow("0 days") << "2" << "100" << "0" << QStringList{u};
    QTest::newRow("delay and days") << "3" << "0" << "0" << QStringList{d, u};
    QTest::newRow("blanks round a number") << " 2 " << "\t90" << "30 " << QStringList{};
}

// Refused values bring the dialog back with the stored values; the test then cancels.
void TestPreferences::ranges()
{
    QFETCH(QString, conns);
    QFETCH(QString, delay);
    QFETCH(QString, days);
    QFETCH(QStringList, messages);

    CTrawlexSettings &settings = *m_store->settings;
    settings.MaxConns = 3;
    settings.MaxDelay = 120;
    settings.MaxURL = 10;
    CSettingsCommands commands(nullptr, settings, m_store->prompt);

    QList<Showing> showings;
    m_driver->expect<CPreferencesDlg>([&](CPreferencesDlg *dlg) {
        showings << fieldsOf(dlg);
        dlg->maxConnsEdit()->setText(conns);
        dlg->maxDelayEdit()->setText(delay);
        dlg->maxDaysEdit()->setText(days);
        QTest::mouseClick(button(dlg, QStringLiteral("OK")), Qt::LeftButton);
    });
    if (!messages.isEmpty()) {
        m_driver->expect<CPreferencesDlg>([&](CPreferencesDlg *dlg) {
            showings << fieldsOf(dlg);
            QTest::mouseClick(button(dlg, QStringLiteral("Cancel")), Qt::LeftButton);
        });
    }

    const bool stored = commands.OnPreferences();
    QCOMPARE(m_driver->pending(), 0);
    QCOMPARE(m_store->prompt.messages, messages);
    QCOMPARE(stored, messages.isEmpty());

    QCOMPARE(showings.size(), messages.isEmpty() ? 1 : 2);
    for (const Showing &s : showings) {
        QCOMPARE(s.conns, QStringLiteral("3"));
        QCOMPARE(s.delay, QStringLiteral("120"));
        QCOMPARE(s.days, QStringLiteral("10"));
    }

    // What the next run and the next start see.
    CTrawlexSettings reread(m_store->dir.filePath(QStringLiteral("settings.ini")));
    reread.load();
    if (stored) {
        QCOMPARE(settings.MaxConns, conns.trimmed().toInt());
        QCOMPARE(settings.MaxDelay, delay.trimmed().toInt());
        QCOMPARE(settings.MaxURL, days.trimmed().toInt());
        QCOMPARE(reread.MaxConns, settings.MaxConns);
        QCOMPARE(reread.MaxDelay, settings.MaxDelay);
        QCOMPARE(reread.MaxURL, settings.MaxURL);
    } else {
        QCOMPARE(settings.MaxConns, 3);
        QCOMPARE(settings.MaxDelay, 120);
        QCOMPARE(settings.MaxURL, 10);
        QCOMPARE(reread.MaxConns, 4); // nothing was written: the defaults
        QCOMPARE(reread.MaxDelay, 60);
        QCOMPARE(reread.MaxURL, 7);
    }
}

void TestPreferences::notANumber_data()
{
    QTest::addColumn<int>("field"); // 0 connections, 1 delay, 2 days
    QTest::addColumn<QString>("text");

    QTest::newRow("letters in delay") << 1 << "abc";
    QTest::newRow("empty connections") << 0 << "";
    QTest::newRow("minus sign") << 2 << "-1";
    QTest::newRow("plus sign") << 1 << "+90";
    QTest::newRow("decimal point") << 1 << "90.5";
    QTest::newRow("digits then letters") << 0 << "2x";
    QTest::newRow("beyond 32 bits") << 2 << "4294967296";
    QTest::newRow("inner blank") << 1 << "9 0";
}

// The refusal happens inside the dialog: it stays open on the field, nothing is taken, and a
// corrected entry then goes through.
void TestPreferences::notANumber()
{
    QFETCH(int, field);
    QFETCH(QString, text);

    CTrawlexSettings &settings = *m_store->settings;
    CSettingsCommands commands(nullptr, settings, m_store->prompt);

    bool stillOpen = false;
    QWidget *focused = nullptr;
    QLineEdit *bad = nullptr;
    m_driver->expect<CPreferencesDlg>([&](CPreferencesDlg *dlg) {
        QLineEdit *edits[] = {dlg->maxConnsEdit(), dlg->maxDelayEdit(), dlg->maxDaysEdit()};
        dlg->maxConnsEdit()->setText(QStringLiteral("2"));
        dlg->maxDelayEdit()->setText(QStringLiteral("90"));
        dlg->maxDaysEdit()->setText(QStringLiteral("14"));
        bad = edits[field];
        bad->setText(text);
        QTest::mouseClick(button(dlg, QStringLiteral("OK")), Qt::LeftButton);
        stillOpen = dlg->isVisible();
        focused = QApplication::focusWidget();
        bad->setText(field == 0 ? QStringLiteral("2") : field == 1 ? QStringLiteral("90") : QStringLiteral("14"));
        QTest::mouseClick(button(dlg, QStringLiteral("OK")), Qt::LeftButton);
    });

    QVERIFY(commands.OnPreferences());
    QVERIFY(stillOpen);
    QCOMPARE(focused, bad);
    QCOMPARE(m_store->prompt.messages, QStringList{QStringLiteral("Please enter a positive integer.")});
    QCOMPARE(settings.MaxConns, 2);
    QCOMPARE(settings.MaxDelay, 90);
    QCOMPARE(settings.MaxURL, 14);
}

void TestPreferences::parseUnsigned_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<uint>("value");

    QTest::newRow("zero") << "0" << true << 0u;
    QTest::newRow("leading zeros") << "0045" << true << 45u;
    QTest::newRow("blanks") << "  7 " << true << 7u;
    QTest::newRow("largest") << "4294967295" << true << 4294967295u;
    QTest::newRow("one more") << "4294967296" << false << 0u;
    QTest::newRow("many digits") << "99999999999999999999999" << false << 0u;
    QTest::newRow("blank only") << "   " << false << 0u;
    QTest::newRow("arabic-indic digit") << QString(QChar(0x0663)) << false << 0u;
}

void TestPreferences::parseUnsigned()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(uint, value);
    unsigned parsed = 12345;
    QCOMPARE(CPreferencesDlg::ParseUnsigned(text, parsed), ok);
    if (ok)
        QCOMPARE(parsed, value);
}

// Closing the window is a Cancel: good values typed in are not taken.
void TestPreferences::cancelKeepsSettings()
{
    CTrawlexSettings &settings = *m_store->settings;
    CSettingsCommands commands(nullptr, settings, m_store->prompt);
    m_driver->expect<CPreferencesDlg>([](CPreferencesDlg *dlg) {
        dlg->maxConnsEdit()->setText(QStringLiteral("1"));
        dlg->close();
    });
    QVERIFY(!commands.OnPreferences());
    QCOMPARE(settings.MaxConns, 4);
    QVERIFY(m_store->prompt.messages.isEmpty());
    QVERIFY(!QSettings(m_store->dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat)
                 .contains(QStringLiteral("Version 1.12/MaxConns")));
}

// Stored numbers are read without a check; a negative one must not appear as 4294967295.
void TestPreferences::negativeStoredValueShownAsZero()
{
    CTrawlexSettings &settings = *m_store->settings;
    settings.MaxDelay = -5;
    CSettingsCommands commands(nullptr, settings, m_store->prompt);
    QString shown;
    m_driver->expect<CPreferencesDlg>([&](CPreferencesDlg *dlg) {
        shown = dlg->maxDelayEdit()->text();
        dlg->reject();
    });
    commands.OnPreferences();
    QCOMPARE(shown, QStringLiteral("0"));
}

void TestPreferences::connection_data()
{
    QTest::addColumn<QString>("answer"); // a button's text, or "close"
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("direct");

    QTest::newRow("direct") << "Direct or AOL" << "Direct" << true;
    QTest::newRow("dial-up") << "Dial-Up" << "Dial" << false;
    QTest::newRow("closed") << "close" << "Dial" << false;
    QTest::newRow("escape") << "escape" << "Dial" << false;
}

void TestPreferences::connection()
{
    QFETCH(QString, answer);
    QFETCH(QString, stored);
    QFETCH(bool, direct);

    CTrawlexSettings &settings = *m_store->settings;
    settings.setConnection(!direct); // the opposite, so the answer must change it
    CSettingsCommands commands(nullptr, settings, m_store->prompt);
    QString text;
    m_driver->expect<CConnectionDlg>([&](CConnectionDlg *dlg) {
        text = dlg->findChild<QLabel *>()->text();
        if (answer == QLatin1String("close"))
            dlg->close();
        else if (answer == QLatin1String("escape"))
            QTest::keyClick(dlg, Qt::Key_Escape);
        else
            QTest::mouseClick(button(dlg, answer), Qt::LeftButton);
    });
    commands.OnInternetConnection();
    QCOMPARE(m_driver->pending(), 0);
    QCOMPARE(text, QStringLiteral("Do you dial into the internet or have a direct connection?"));
    QCOMPARE(settings.DirectConnection, direct);
    QCOMPARE(QSettings(m_store->dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat)
                 .value(QStringLiteral("Version 1.12/TXconn"))
                 .toString(),
             stored);
}

// The four commands reach their dialogs through the frame's own actions.
void TestPreferences::frameCommands()
{
    CTrawlexDoc &doc = m_store->doc;
    CRunMonitor monitor(doc, doc.Query(), doc.ResultsSet(), m_store->prompt);
    CMainFrame frame(doc, *m_store->settings, monitor, m_store->prompt);
    CSettingsCommands *commands = InstallSettingsCommands(frame, *m_store->settings, m_store->prompt);
    QCOMPARE(commands->parent(), &frame);
    commands->versionCheck().setSessionTest([] { return false; });

    QStringList seen;
    m_driver->expect<CPreferencesDlg>([&](CPreferencesDlg *dlg) {
        seen << dlg->windowTitle();
        dlg->reject();
    });
    frame.action(ID_PREFERENCES)->trigger();
    m_driver->expect<CConnectionDlg>([&](CConnectionDlg *dlg) {
        seen << dlg->windowTitle();
        dlg->accept();
    });
    frame.action(ID_INTERNET_CONNECTION)->trigger();
    m_driver->expect<CAboutDlg>([&](CAboutDlg *dlg) {
        QStringList texts;
        for (QLabel *l : dlg->findChildren<QLabel *>())
            texts << l->text();
        seen << dlg->windowTitle() + QStringLiteral(": ") + texts.filter(QRegularExpression(QStringLiteral("\\S"))).join(u'|');
        dlg->accept();
    });
    frame.action(ID_APP_ABOUT)->trigger();
    frame.action(ID_CHECK_VERSION)->trigger();

    QCOMPARE(seen, (QStringList{QStringLiteral("Preferences"), QStringLiteral("Connection"),
                                QStringLiteral("About Trawlex: Trawlex|Version 1.12|Quorvel Software")}));
    QVERIFY(m_store->settings->DirectConnection);
    QCOMPARE(m_store->prompt.messages,
             QStringList{QStringLiteral("Error!  Internet session must be active to do version check.")});
}

void TestPreferences::screenshots()
{
    const QString folder = TestPaths::binaryDir() + QStringLiteral("/screenshots");
    QVERIFY(QDir().mkpath(folder));

    CPreferencesDlg prefs(m_store->prompt);
    prefs.m_nMaxConns = 4;
    prefs.m_nMaxDelay = 60;
    prefs.m_nMaxDays = 7;
    CConnectionDlg connection;
    CAboutDlg about;
    const QList<QPair<QDialog *, QString>> dialogs{{&prefs, QStringLiteral("preferences.png")},
                                                   {&connection, QStringLiteral("connection.png")},
                                                   {&about, QStringLiteral("about.png")}};
    for (const auto &[dlg, name] : dialogs) {
        dlg->setModal(false);
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg));
        const QImage image = dlg->grab().toImage();
        QVERIFY(!image.isNull());
        QVERIFY(image.save(folder + u'/' + name));
        dlg->hide();
    }
    QCOMPARE(prefs.maxDelayEdit()->text(), QStringLiteral("60"));
}

QTEST_MAIN(TestPreferences)
#include "tst_preferences.moc"
