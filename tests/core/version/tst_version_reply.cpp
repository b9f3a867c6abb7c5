#include "version/CVersionReply.h"

#include <QtTest>

#include <QScopeGuard>

#include <clocale>
#include <cstdlib>
#include <string>

// How the maker's version file is read and what the user is told.
class TestVersionReply : public QObject
{
    Q_OBJECT

private slots:
    void outcome_data();
    void outcome();
    void formatting_data();
    void formatting();
    void decimalPointIgnoresLocale();
};

void TestVersionReply::outcome_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("versionsLine");
    QTest::addColumn<QString>("featuresLine");

    const QString head = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";
    QTest::newRow("same version") << head + "#1.12#Faster retrieval#@" << int(CVersionReply::Outcome::Current)
                                  << QString() << QString();
    QTest::newRow("newer") << head + "#1.2#Two new engines#@" << int(CVersionReply::Outcome::Newer)
                           << "Your version is 1.12.  The current version is 1.2."
                           << "The new version features Two new engines.";
    QTest::newRow("whole number shows one decimal") << head + "#2#A new look#@" << int(CVersionReply::Outcome::Newer)
                                                    << "Your version is 1.12.  The current version is 2.0."
                                                    << "The new version features A new look.";
    QTest::newRow("older server file") << "#1.05#x#@" << int(CVersionReply::Outcome::Current) << QString() << QString();
    QTest::newRow("not a number counts as 0") << "#soon#x#@" << int(CVersionReply::Outcome::Current) << QString() << QString();
    QTest::newRow("trailing text after the number") << "#1.3beta#x#@" << int(CVersionReply::Outcome::Newer)
                                                    << "Your version is 1.12.  The current version is 1.3."
                                                    << "The new version features x.";
    QTest::newRow("no closing marks") << "#1.5" << int(CVersionReply::Outcome::Newer)
                                      << "Your version is 1.12.  The current version is 1.5."
                                      << "The new version features .";
    QTest::newRow("features up to the end") << "#1.5#all the rest@" << int(CVersionReply::Outcome::Newer)
                                            << "Your version is 1.12.  The current version is 1.5."
                                            << "The new version features all the rest@.";
    QTest::newRow("no hash at all") << head + "@" << int(CVersionReply::Outcome::Unreadable) << QString() << QString();
}

void TestVersionReply::outcome()
{
    QFETCH(QString, reply);
    QFETCH(int, outcome);
    const CVersionReply r(reply);
    QCOMPARE(int(r.outcome()), outcome);
    if (r.outcome() == CVersionReply::Outcome::Newer) {
        QTEST(r.versionsLine(), "versionsLine");
        QTEST(r.featuresLine(), "featuresLine");
    }
}

void TestVersionReply::formatting_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("1.12") << 1.12 << "1.12";
    QTest::newRow("1.20") << 1.2 << "1.2";
    QTest::newRow("2.00") << 2.0 << "2.0";
    QTest::newRow("10.5") << 10.5 << "10.5";
}

void TestVersionReply::formatting()
{
    QFETCH(double, value);
    QTEST(CVersionReply::FormatVersion(value), "text");
}

void TestVersionReply::decimalPointIgnoresLocale()
{
    // A user whose locale writes decimal commas still reads the server's "1.2" as one point two.
    // scripts/setup generates de_DE.UTF-8; without it the check cannot run, and says so.
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    const auto restore = qScopeGuard([&previous] { std::setlocale(LC_NUMERIC, previous.c_str()); });
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.utf8"))
        QSKIP("the de_DE.UTF-8 locale is not installed (scripts/setup generates it)");
    QCOMPARE(QByteArray(std::localeconv()->decimal_point), QByteArray(","));
    QCOMPARE(std::strtod("1.25", nullptr), 1.0); // the C library itself now stops at the point

    QCOMPARE(CVersionReply::LeadingNumber(" 1.25xyz"), 1.25);
    QCOMPARE(CVersionReply::LeadingNumber("1,25"), 1.0);
    QCOMPARE(CVersionReply::FormatVersion(CVersionReply::LeadingNumber("1.2")), QStringLiteral("1.2"));
    QCOMPARE(CVersionReply::FormatVersion(2.0), QStringLiteral("2.0"));
}

QTEST_GUILESS_MAIN(TestVersionReply)
#include "tst_version_reply.moc"
