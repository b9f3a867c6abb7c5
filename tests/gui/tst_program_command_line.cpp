// trawlex --help and --version print and end without any display; other arguments are
// refused with a hint, and nothing opens.
#include "TestPaths.h"

#include "app/CTrawlexCommandLine.h"

#include <QProcess>
#include <QTest>

class TestProgramCommandLine final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void withoutDisplay_data();
    void withoutDisplay();
    void parsing_data();
    void parsing();

private:
    QString m_program;
};

void TestProgramCommandLine::initTestCase()
{
    m_program = TestPaths::binaryDir() + QStringLiteral("/trawlex");
    QVERIFY2(QFileInfo::exists(m_program), qPrintable(m_program));
}

void TestProgramCommandLine::withoutDisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    QTest::newRow("--version") << QStringList{"--version"} << 0 << "Trawlex 1.12\n" << "";
    QTest::newRow("-v") << QStringList{"-v"} << 0 << "Trawlex 1.12\n" << "";
    QTest::newRow("--help") << QStringList{"--help"} << 0 << "--version" << "";
    QTest::newRow("-h") << QStringList{"-h"} << 0 << "Displays version information." << "";
    QTest::newRow("--help-all") << QStringList{"--help-all"} << 0 << "--qmljsdebugger" << "";
    // Qt's own options do not stand in the way.
    QTest::newRow("Qt option first") << QStringList{"-platform", "offscreen", "--version"} << 0 << "Trawlex 1.12\n" << "";
}

void TestProgramCommandLine::withoutDisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);

    QProcess process;
    // No display of any kind, and no platform chosen: a program that made its window system
    // connection first would fail here.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "QT_SCALE_FACTOR"})
        env.remove(QLatin1String(name));
    process.setProcessEnvironment(env);
    process.start(m_program, arguments);
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    const QString stdOut = QString::fromLocal8Bit(process.readAllStandardOutput());
    const QString stdErr = QString::fromLocal8Bit(process.readAllStandardError());
    if (out.endsWith(QLatin1Char('\n')))
        QCOMPARE(stdOut, out);
    else
        QVERIFY2(stdOut.contains(out), qPrintable(stdOut));
    QVERIFY2(!stdErr.contains(QLatin1String("could not connect to display")), qPrintable(stdErr));
    QVERIFY2(!stdErr.contains(QLatin1String("qt.qpa")), qPrintable(stdErr));
    if (!err.isEmpty())
        QVERIFY2(stdErr.contains(err), qPrintable(stdErr));
}

void TestProgramCommandLine::parsing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("help");
    QTest::addColumn<bool>("version");
    QTest::addColumn<QString>("error");

    QTest::newRow("nothing") << QStringList{"trawlex"} << true << false << false << "";
    QTest::newRow("help") << QStringList{"trawlex", "--help"} << true << true << false << "";
    QTest::newRow("help all") << QStringList{"trawlex", "--help-all"} << true << true << false << "";
    QTest::newRow("version") << QStringList{"trawlex", "--version"} << true << false << true << "";
    QTest::newRow("unknown") << QStringList{"/usr/bin/trawlex", "--frobnicate"} << false << false << false
                             << "Unknown option 'frobnicate'.\nTry 'trawlex --help' for the options.";
    QTest::newRow("a file") << QStringList{"trawlex", "notes.txt"} << false << false << false
                            << "Trawlex opens no files: 'notes.txt' is not understood.\nTry 'trawlex --help' for the options.";
}

void TestProgramCommandLine::parsing()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, ok);
    QFETCH(bool, help);
    QFETCH(bool, version);
    QFETCH(QString, error);

    CTrawlexCommandLine line;
    QCOMPARE(line.parse(arguments), ok);
    QCOMPARE(line.wantsHelp(), help);
    QCOMPARE(line.wantsVersion(), version);
    QCOMPARE(line.errorText(), error);
}

QTEST_GUILESS_MAIN(TestProgramCommandLine)
#include "tst_program_command_line.moc"
