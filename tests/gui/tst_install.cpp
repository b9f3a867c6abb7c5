// cmake --install into a folder of the test's own (DESTDIR): the programs, the database, the
// help page, the menu entry and the icons land at the freedesktop places, the menu entry is
// well formed, and the installed program starts on its installed data alone.
#include "TestPaths.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {
const QStringList kIconSizes{"16", "22", "24", "32", "48", "64", "128", "256"};

// The lines of a desktop entry's one group as key/value pairs; failures go to problems.
QList<std::pair<QString, QString>> readDesktopEntry(const QByteArray &text, QStringList &problems)
{
    QList<std::pair<QString, QString>> entries;
    bool inGroup = false;
    const QList<QByteArray> lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = QString::fromUtf8(lines.at(i));
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (line != QLatin1String("[Desktop Entry]") || inGroup)
                problems << QStringLiteral("line %1: unexpected group %2").arg(i + 1).arg(line);
            inGroup = true;
            continue;
        }
        if (!inGroup) {
            problems << QStringLiteral("line %1: a key before [Desktop Entry]").arg(i + 1);
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            problems << QStringLiteral("line %1: not key=value").arg(i + 1);
            continue;
        }
        // Keys are A-Za-z0-9- only, with no blanks around '=' in what we write.
        const QString key = line.left(eq);
        for (QChar c : key) {
            if (!(c.isLetterOrNumber() || c == QLatin1Char('-')) || c.unicode() > 127)
                problems << QStringLiteral("line %1: bad key %2").arg(i + 1).arg(key);
        }
        entries.append({key, line.mid(eq + 1)});
    }
    return entries;
}
} // namespace

class TestInstall final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void filesAtTheirPlaces();
    void desktopEntryIsValid();
    void iconsHaveTheirSizes();
    void installedProgramFindsItsData();

private:
    QString root(const QString &relative) const { return m_dest.filePath(QStringLiteral("usr/") + relative); }

    QTemporaryDir m_dest;
};

void TestInstall::initTestCase()
{
    QVERIFY(m_dest.isValid());
    QProcess install;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DESTDIR"), m_dest.path());
    install.setProcessEnvironment(env);
    install.start(QStringLiteral(TRAWLEX_CMAKE_COMMAND),
                  {QStringLiteral("--install"), TestPaths::binaryDir(), QStringLiteral("--prefix"), QStringLiteral("/usr")});
    QVERIFY(install.waitForFinished(120000));
    QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
}

void TestInstall::filesAtTheirPlaces()
{
    QStringList wanted{"bin/trawlex", "bin/trawlex-cli", "share/trawlex/tx.mdb", "share/trawlex/faqtrawlex.htm",
                       "share/applications/trawlex.desktop", "share/icons/hicolor/scalable/apps/trawlex.svg"};
#ifdef TRAWLEX_HAS_ENGINESIM
    wanted << QStringLiteral("bin/trawlex-enginesim");
#endif
    for (const QString &size : kIconSizes)
        wanted << QStringLiteral("share/icons/hicolor/%1x%1/apps/trawlex.png").arg(size);
    for (const QString &file : std::as_const(wanted))
        QVERIFY2(QFileInfo::exists(root(file)), qPrintable(file));
    for (const char *program : {"bin/trawlex", "bin/trawlex-cli"})
        QVERIFY2(QFileInfo(root(QLatin1String(program))).isExecutable(), program);
    // The database is the one the build made: the same bytes.
    QFile built(TestPaths::prebuiltDatabase());
    QFile installed(root(QStringLiteral("share/trawlex/tx.mdb")));
    QVERIFY(built.open(QIODevice::ReadOnly) && installed.open(QIODevice::ReadOnly));
    QVERIFY(built.readAll() == installed.readAll());
}

void TestInstall::desktopEntryIsValid()
{
    QFile file(root(QStringLiteral("share/applications/trawlex.desktop")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QStringList problems;
    const auto entries = readDesktopEntry(file.readAll(), problems);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));

    QHash<QString, QString> keys;
    for (const auto &[key, value] : entries) {
        QVERIFY2(!keys.contains(key), qPrintable(QStringLiteral("twice: ") + key));
        keys.insert(key, value);
    }
    // Only keys the desktop entry format knows.
    const QSet<QString> known{"Type", "Version", "Name", "GenericName", "NoDisplay", "Comment", "Icon", "Hidden",
                              "OnlyShowIn", "NotShowIn", "DBusActivatable", "TryExec", "Exec", "Path", "Terminal",
                              "Actions", "MimeType", "Categories", "Implements", "Keywords", "StartupNotify",
                              "StartupWMClass", "URL", "PrefersNonDefaultGPU", "SingleMainWindow"};
    for (auto it = keys.cbegin(); it != keys.cend(); ++it)
        QVERIFY2(known.contains(it.key()), qPrintable(it.key()));

    QCOMPARE(keys.value(QStringLiteral("Type")), QStringLiteral("Application"));
    QCOMPARE(keys.value(QStringLiteral("Name")), QStringLiteral("Trawlex"));
    QVERIFY(!keys.value(QStringLiteral("Comment")).isEmpty());
    for (const char *flag : {"Terminal", "StartupNotify"}) {
        const QString value = keys.value(QLatin1String(flag), QStringLiteral("false"));
        QVERIFY2(value == QLatin1String("true") || value == QLatin1String("false"), flag);
    }
    QCOMPARE(keys.value(QStringLiteral("Terminal")), QStringLiteral("false"));
    // Exec and TryExec name the installed program; Icon names the installed icon.
    const QString exec = keys.value(QStringLiteral("Exec")).section(QLatin1Char(' '), 0, 0);
    QVERIFY2(QFileInfo::exists(root(QStringLiteral("bin/") + exec)), qPrintable(exec));
    if (keys.contains(QStringLiteral("TryExec")))
        QVERIFY(QFileInfo::exists(root(QStringLiteral("bin/") + keys.value(QStringLiteral("TryExec")))));
    const QString icon = keys.value(QStringLiteral("Icon"));
    QVERIFY(!icon.contains(QLatin1Char('/')) && !icon.contains(QLatin1Char('.')));
    QVERIFY(QFileInfo::exists(root(QStringLiteral("share/icons/hicolor/48x48/apps/%1.png").arg(icon))));
    // Lists end in ';' and name one registered main category.
    for (const char *list : {"Categories", "Keywords"})
        QVERIFY2(keys.value(QLatin1String(list)).endsWith(QLatin1Char(';')), list);
    const QStringList categories = keys.value(QStringLiteral("Categories")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    const QSet<QString> main{"AudioVideo", "Audio", "Video", "Development", "Education", "Game", "Graphics",
                             "Network", "Office", "Science", "Settings", "System", "Utility"};
    QVERIFY(std::any_of(categories.cbegin(), categories.cend(), [&main](const QString &c) { return main.contains(c); }));

    // The desktop's own checker, where the machine has it, has the last word.
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (!validator.isEmpty()) {
        QProcess check;
        check.start(validator, {file.fileName()});
        QVERIFY(check.waitForFinished(20000));
        QVERIFY2(check.exitCode() == 0, check.readAllStandardOutput().constData());
    }
}

void TestInstall::iconsHaveTheirSizes()
{
    for (const QString &size : kIconSizes) {
        const QImage image(root(QStringLiteral("share/icons/hicolor/%1x%1/apps/trawlex.png").arg(size)));
        QVERIFY2(!image.isNull(), qPrintable(size));
        QCOMPARE(image.size(), QSize(size.toInt(), size.toInt()));
        QVERIFY(image.hasAlphaChannel());
    }
    QFile svg(root(QStringLiteral("share/icons/hicolor/scalable/apps/trawlex.svg")));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svg);
    bool sawSvg = false;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("svg"))
            sawSvg = xml.attributes().value(QLatin1String("viewBox")) == QLatin1String("0 0 64 64");
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(sawSvg);
}

void TestInstall::installedProgramFindsItsData()
{
    // A user who never ran it: empty folders, nothing beside the program, no tx.mdb in the
    // current directory. It must find the installed database, copy it to its data folder
    // and show its window.
    QTemporaryDir home;
    QVERIFY(QDir().mkpath(home.filePath(QStringLiteral("config/Quorvel Software"))));
    QFile settings(home.filePath(QStringLiteral("config/Quorvel Software/Trawlex.conf")));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("[Version%201.12]\nTXconn=Direct\nVersionCheck=4\n");
    settings.close();
    QVERIFY(QDir().mkpath(home.filePath(QStringLiteral("cwd"))));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TRAWLEX_REPORT_SHOWN"), QStringLiteral("1"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_DATA_DIRS"), home.filePath(QStringLiteral("nowhere")));
    QProcess program;
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(home.filePath(QStringLiteral("cwd")));
    program.start(root(QStringLiteral("bin/trawlex")), {});
    QVERIFY(program.waitForFinished(60000));
    const QByteArray out = program.readAllStandardOutput();
    QVERIFY2(out.contains("shown"), program.readAllStandardError().constData());
    QCOMPARE(program.exitCode(), 0);
    const QString copied = home.filePath(QStringLiteral("data/Quorvel Software/Trawlex/tx.mdb"));
    QVERIFY2(QFileInfo::exists(copied), qPrintable(copied));
    // The installed copy stays as installed.
    QVERIFY(!QFileInfo::exists(home.filePath(QStringLiteral("cwd/tx.mdb"))));
}

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
