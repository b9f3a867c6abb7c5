#include "app/CTrawlexSettings.h"
#include "app/InternetSession.h"

#include <QNetworkInterface>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class tst_app_settings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void defaults();
    void storedValuesAndWrongKinds();
    void savePreferences();
    void connectionText_data();
    void connectionText();
    void setConnection();
    void versionCounterStep_data();
    void versionCounterStep();
    void versionCounterOverStarts();
    void sessionTest();

private:
    QString iniPath() const { return m_dir.filePath(QStringLiteral("trawlex.ini")); }
    void writeRaw(const QString &key, const QVariant &value);

    QTemporaryDir m_dir;
};

void tst_app_settings::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
}

void tst_app_settings::writeRaw(const QString &key, const QVariant &value)
{
    QSettings raw(iniPath(), QSettings::IniFormat);
    raw.setValue(CTrawlexSettings::groupName() + QLatin1Char('/') + key, value);
    raw.sync();
}

void tst_app_settings::defaults()
{
    QFile::remove(iniPath());
    CTrawlexSettings s(iniPath());
    s.load();
    QCOMPARE(s.MaxConns, 4);
    QCOMPARE(s.MaxDelay, 60);
    QCOMPARE(s.MaxURL, 7);
    QCOMPARE(s.DirectConnection, false);
    QCOMPARE(s.connection(), CTrawlexSettings::Connection::Unknown);
}

void tst_app_settings::storedValuesAndWrongKinds()
{
    QFile::remove(iniPath());
    writeRaw(QStringLiteral("MaxConns"), 2);
    writeRaw(QStringLiteral("MaxDelay"), QStringLiteral("not a number"));
    // No range check at start-up: only the Preferences dialog limits values.
    writeRaw(QStringLiteral("MaxURL"), 500);
    writeRaw(QStringLiteral("TXconn"), QStringLiteral("Direct"));
    CTrawlexSettings s(iniPath());
    s.load();
    QCOMPARE(s.MaxConns, 2);
    QCOMPARE(s.MaxDelay, 60);
    QCOMPARE(s.MaxURL, 500);
    QCOMPARE(s.DirectConnection, true);
}

void tst_app_settings::savePreferences()
{
    QFile::remove(iniPath());
    {
        CTrawlexSettings s(iniPath());
        s.MaxConns = 1;
        s.MaxDelay = 45;
        s.MaxURL = 60;
        s.savePreferences();
    }
    QSettings raw(iniPath(), QSettings::IniFormat);
    raw.beginGroup(QStringLiteral("Version 1.12"));
    QCOMPARE(raw.value(QStringLiteral("MaxConns")).toInt(), 1);
    QCOMPARE(raw.value(QStringLiteral("MaxDelay")).toInt(), 45);
    QCOMPARE(raw.value(QStringLiteral("MaxURL")).toInt(), 60);
    CTrawlexSettings again(iniPath());
    again.load();
    QCOMPARE(again.MaxDelay, 45);
}

void tst_app_settings::connectionText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("connection");

    QTest::newRow("Direct") << "Direct" << int(CTrawlexSettings::Connection::Direct);
    QTest::newRow("Dial") << "Dial" << int(CTrawlexSettings::Connection::Dial);
    QTest::newRow("lower case is not recognised") << "direct" << int(CTrawlexSettings::Connection::Unknown);
    QTest::newRow("blank after") << "Dial " << int(CTrawlexSettings::Connection::Unknown);
    QTest::newRow("empty") << "" << int(CTrawlexSettings::Connection::Unknown);
    QTest::newRow("other") << "AOL" << int(CTrawlexSettings::Connection::Unknown);
}

void tst_app_settings::connectionText()
{
    QFETCH(QString, text);
    QFETCH(int, connection);
    QCOMPARE(int(CTrawlexSettings::connectionFromText(text)), connection);

    QFile::remove(iniPath());
    writeRaw(QStringLiteral("TXconn"), text);
    CTrawlexSettings s(iniPath());
    s.load();
    QCOMPARE(int(s.connection()), connection);
    QCOMPARE(s.DirectConnection, connection == int(CTrawlexSettings::Connection::Direct));
}

void tst_app_settings::setConnection()
{
    QFile::remove(iniPath());
    writeRaw(QStringLiteral("TXconn"), QStringLiteral("direct"));
    CTrawlexSettings s(iniPath());
    s.setConnection(false);
    QCOMPARE(s.DirectConnection, false);
    QCOMPARE(QSettings(iniPath(), QSettings::IniFormat).value(QStringLiteral("Version 1.12/TXconn")).toString(),
             QStringLiteral("Dial"));
    s.setConnection(true);
    QCOMPARE(QSettings(iniPath(), QSettings::IniFormat).value(QStringLiteral("Version 1.12/TXconn")).toString(),
             QStringLiteral("Direct"));
    QCOMPARE(s.connection(), CTrawlexSettings::Connection::Direct);
}

void tst_app_settings::versionCounterStep_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("counter");
    QTest::addColumn<bool>("ask");

    QTest::newRow("first start") << -1 << 0 << true;
    QTest::newRow("second start") << 0 << 1 << true;
    QTest::newRow("third start") << 1 << 2 << false;
    QTest::newRow("tenth start") << 8 << 9 << false;
    QTest::newRow("eleventh start") << 9 << 10 << true;
    QTest::newRow("twelfth start") << 10 << 11 << false;
    QTest::newRow("twenty-first start") << 19 << 20 << true;
    QTest::newRow("odd negative value") << -7 << 0 << true;
    QTest::newRow("top of the range") << std::numeric_limits<int>::max() << 0 << true;
}

void tst_app_settings::versionCounterStep()
{
    QFETCH(int, stored);
    QFETCH(int, counter);
    QFETCH(bool, ask);
    const CTrawlexSettings::VersionCheckStep step = CTrawlexSettings::nextVersionCheck(stored);
    QCOMPARE(step.counter, counter);
    QCOMPARE(step.ask, ask);
}

void tst_app_settings::versionCounterOverStarts()
{
    QFile::remove(iniPath());
    QList<int> askedAt;
    for (int start = 1; start <= 31; ++start) {
        CTrawlexSettings s(iniPath()); // a fresh program start each time
        if (s.advanceVersionCheck())
            askedAt << start;
    }
    QCOMPARE(askedAt, (QList<int>{1, 2, 11, 21, 31}));
    QCOMPARE(QSettings(iniPath(), QSettings::IniFormat).value(QStringLiteral("Version 1.12/VersionCheck")).toInt(), 30);

    // A counter of the wrong kind counts as absent: a first start.
    writeRaw(QStringLiteral("VersionCheck"), QStringLiteral("abc"));
    QVERIFY(CTrawlexSettings(iniPath()).advanceVersionCheck());
    QCOMPARE(QSettings(iniPath(), QSettings::IniFormat).value(QStringLiteral("Version 1.12/VersionCheck")).toInt(), 0);
}

void tst_app_settings::sessionTest()
{
    // A direct connection never looks at the interfaces.
    QVERIFY(IsInternetSessionActive(true));
    // Dial-up follows whether a point-to-point link is up, whatever this machine has.
    QCOMPARE(IsInternetSessionActive(false), IsDialUpLinkUp());
    bool pppUp = false;
    for (const QNetworkInterface &nic : QNetworkInterface::allInterfaces()) {
        if ((nic.type() == QNetworkInterface::Ppp || nic.name().startsWith(QLatin1String("ppp")))
            && nic.flags().testFlag(QNetworkInterface::IsUp))
            pppUp = true;
    }
    if (!QNetworkInterface::allInterfaces().isEmpty())
        QCOMPARE(IsDialUpLinkUp(), pppUp);
}

QTEST_GUILESS_MAIN(tst_app_settings)
#include "tst_app_settings.moc"
