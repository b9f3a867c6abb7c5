#include "export/CResultsExporter.h"
#include "query/CTrawlexQueryResults.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

using Format = CResultsExporter::Format;

namespace {

struct Hit
{
    QString title, url, summary;
    int isNew;
    QStringList engines;
};

// Quotes, commas, a line break inside a summary, markup, non-ASCII letters, a character
// outside the BMP, a formula-like summary and an empty title; two engines, an engine name
// of the user's own that looks like a formula and needs quoting, and no engine known.
QList<Hit> awkwardHits()
{
    return {
        {QStringLiteral("Say \"hi\", world"), QStringLiteral("http://a.example/q?x=1&y=2"),
         QStringLiteral("line one\r\nline two"), 1, {QStringLiteral("AltaVista"), QStringLiteral("HotBot")}},
        {QString::fromUtf8("<b>Bold</b> & \xc3\x9cn\xc3\xaf \xf0\x9d\x84\x9e"), QStringLiteral("http://b.example/\"q\""),
         QStringLiteral("=cmd|' /C calc'!A0"), 0, {QStringLiteral("=My \"Wiki\", too")}},
        {QString(), QStringLiteral("http://c.example/"), QString(), 0, {}},
    };
}

CResultsExporter awkwardExporter()
{
    QList<CTrawlexHit> hits;
    for (const Hit &h : awkwardHits())
        hits.append({h.title, h.url, h.summary, h.isNew != 0, h.engines});
    CTrawlexQueryResults results;
    results.SetHits(hits);
    const QDateTime when(QDate(1998, 3, 14), QTime(9, 26, 53), Qt::OffsetFromUTC, 3600);
    return CResultsExporter(QStringLiteral("Fruit & \"Veg\" <1998>"), when, results);
}

// RFC 4180 read back: quoted fields may hold commas, quotes (doubled) and line breaks.
QList<QStringList> parseCsv(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            row << field;
            field.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            row << field;
            rows << row;
            row.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}

QString htmlUnescape(QString s)
{
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    s.replace(QLatin1String("&quot;"), QLatin1String("\""));
    s.replace(QLatin1String("&#13;"), QLatin1String("\r"));
    s.replace(QLatin1String("&#10;"), QLatin1String("\n"));
    s.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return s;
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestResultsExporter final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void exactBytes_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("csv") << int(Format::Csv) << QByteArray(
            "\xEF\xBB\xBFtitle,url,summary,new,engines\r\n"
            "\"Say \"\"hi\"\", world\",http://a.example/q?x=1&y=2,\"line one\r\nline two\",1,AltaVista; HotBot\r\n"
            "<b>Bold</b> & \xc3\x9cn\xc3\xaf \xf0\x9d\x84\x9e,\"http://b.example/\"\"q\"\"\",'=cmd|' /C calc'!A0,0,"
            "\"'=My \"\"Wiki\"\", too\"\r\n"
            ",http://c.example/,,0,\r\n");
        QTest::newRow("json") << int(Format::Json) << QByteArray(
            "{\n"
            "    \"hits\": [\n"
            "        {\n"
            "            \"engines\": [\n"
            "                \"AltaVista\",\n"
            "                \"HotBot\"\n"
            "            ],\n"
            "            \"new\": true,\n"
            "            \"summary\": \"line one\\r\\nline two\",\n"
            "            \"title\": \"Say \\\"hi\\\", world\",\n"
            "            \"url\": \"http://a.example/q?x=1&y=2\"\n"
            "        },\n"
            "        {\n"
            "            \"engines\": [\n"
            "                \"=My \\\"Wiki\\\", too\"\n"
            "            ],\n"
            "            \"new\": false,\n"
            "            \"summary\": \"=cmd|' /C calc'!A0\",\n"
            "            \"title\": \"<b>Bold</b> & \xc3\x9cn\xc3\xaf \xf0\x9d\x84\x9e\",\n"
            "            \"url\": \"http://b.example/\\\"q\\\"\"\n"
            "        },\n"
            "        {\n"
            "            \"engines\": [\n"
            "            ],\n"
            "            \"new\": false,\n"
            "            \"summary\": \"\",\n"
            "            \"title\": \"\",\n"
            "            \"url\": \"http://c.example/\"\n"
            "        }\n"
            "    ],\n"
            "    \"query\": \"Fruit & \\\"Veg\\\" <1998>\",\n"
            "    \"retrieved\": \"1998-03-14T09:26:53+01:00\"\n"
            "}\n");
        QTest::newRow("bookmarks") << int(Format::Bookmarks) << QByteArray(
            "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
            "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
            "<TITLE>Bookmarks</TITLE>\n"
            "<H1>Bookmarks</H1>\n"
            "<DL><p>\n"
            "    <DT><H3 ADD_DATE=\"889864013\">Fruit &amp; &quot;Veg&quot; &lt;1998&gt;</H3>\n"
            "    <DL><p>\n"
            "        <DT><A HREF=\"http://a.example/q?x=1&amp;y=2\" ADD_DATE=\"889864013\">Say &quot;hi&quot;, world</A>\n"
            "        <DD>line one&#13;&#10;line two\n"
            "        <DT><A HREF=\"http://b.example/&quot;q&quot;\" ADD_DATE=\"889864013\">"
            "&lt;b&gt;Bold&lt;/b&gt; &amp; \xc3\x9cn\xc3\xaf \xf0\x9d\x84\x9e</A>\n"
            "        <DD>=cmd|' /C calc'!A0\n"
            "        <DT><A HREF=\"http://c.example/\" ADD_DATE=\"889864013\">http://c.example/</A>\n"
            "    </DL><p>\n"
            "</DL><p>\n");
    }

    void exactBytes()
    {
        QFETCH(int, format);
        QFETCH(QByteArray, expected);
        QCOMPARE(awkwardExporter().Render(Format(format)), expected);
    }

    void csvRoundTrip()
    {
        const QByteArray bytes = awkwardExporter().Render(Format::Csv);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QList<QStringList> rows = parseCsv(QString::fromUtf8(bytes.mid(3)));
        const QList<Hit> hits = awkwardHits();
        QCOMPARE(rows.size(), hits.size() + 1);
        QCOMPARE(rows.first(), QStringList({"title", "url", "summary", "new", "engines"}));
        for (qsizetype i = 0; i < hits.size(); ++i) {
            const QStringList &row = rows.at(i + 1);
            QCOMPARE(row.size(), 5);
            QCOMPARE(row.at(0), hits.at(i).title);
            QCOMPARE(row.at(1), hits.at(i).url);
            // The formula guard is the one change: an apostrophe in front.
            const QString summary = hits.at(i).summary;
            QCOMPARE(row.at(2), summary.startsWith(QLatin1Char('=')) ? QLatin1Char('\'') + summary : summary);
            QCOMPARE(row.at(3), QString::number(hits.at(i).isNew));
            const QString engines = hits.at(i).engines.join(QStringLiteral("; "));
            QCOMPARE(row.at(4), engines.startsWith(QLatin1Char('=')) ? QLatin1Char('\'') + engines : engines);
        }
    }

    void csvFormulaGuard_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("cell");
        QTest::newRow("equals") << "=1+2" << "'=1+2";
        QTest::newRow("plus") << "+1" << "'+1";
        QTest::newRow("minus") << "-2+3" << "'-2+3";
        QTest::newRow("at") << "@SUM(A1)" << "'@SUM(A1)";
        QTest::newRow("tab") << "\tx" << "'\tx";
        QTest::newRow("inside is fine") << "a=b-c" << "a=b-c";
        QTest::newRow("guard then quoting") << "=\"x\",y" << "\"'=\"\"x\"\",y\"";
    }

    void csvFormulaGuard()
    {
        QFETCH(QString, title);
        QFETCH(QString, cell);
        CTrawlexQueryResults results;
        results.AddResult(title, QStringLiteral("http://x.example/"), QString(), false);
        const QByteArray bytes = CResultsExporter(QStringLiteral("q"), QDateTime(), results).Render(Format::Csv);
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.at(1), (cell + QStringLiteral(",http://x.example/,,0,\r")).toUtf8());
    }

    void jsonRoundTrip()
    {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(awkwardExporter().Render(Format::Json), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonObject root = doc.object();
        QCOMPARE(root.value("query").toString(), QStringLiteral("Fruit & \"Veg\" <1998>"));
        QCOMPARE(QDateTime::fromString(root.value("retrieved").toString(), Qt::ISODate).toSecsSinceEpoch(), 889864013);
        const QJsonArray hits = root.value("hits").toArray();
        const QList<Hit> expected = awkwardHits();
        QCOMPARE(hits.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            const QJsonObject h = hits.at(i).toObject();
            QCOMPARE(h.value("title").toString(), expected.at(i).title);
            QCOMPARE(h.value("url").toString(), expected.at(i).url);
            QCOMPARE(h.value("summary").toString(), expected.at(i).summary);
            QCOMPARE(h.value("new").toBool(), expected.at(i).isNew != 0);
            QVERIFY(h.value("engines").isArray());
            QCOMPARE(h.value("engines").toArray().toVariantList(), QVariant(expected.at(i).engines).toList());
        }
    }

    void jsonWithoutDate()
    {
        const QJsonObject root =
            QJsonDocument::fromJson(CResultsExporter(QStringLiteral("q"), QDateTime(), CTrawlexQueryResults())
                                        .Render(Format::Json)).object();
        QVERIFY(root.value("retrieved").isNull());
        QVERIFY(root.value("hits").toArray().isEmpty());
    }

    void bookmarksHoldOnlyEscapedText()
    {
        const QString page = QString::fromUtf8(awkwardExporter().Render(Format::Bookmarks));
        // Every tag in the file is one the format has; hit texts never become markup.
        static const QRegularExpression tag(QStringLiteral("<(/?[A-Za-z0-9!]+)"));
        const QStringList known{"!DOCTYPE", "META", "TITLE", "/TITLE", "H1", "/H1", "DL", "/DL", "p",
                                "DT", "H3", "/H3", "A", "/A", "DD"};
        for (auto it = tag.globalMatch(page); it.hasNext();) {
            const QString name = it.next().captured(1);
            QVERIFY2(known.contains(name), qPrintable(name));
        }
        static const QRegularExpression link(QStringLiteral("<DT><A HREF=\"([^\"]*)\"[^>]*>([^<]*)</A>\n(?:        <DD>([^\n<]*)\n)?"));
        const QList<Hit> hits = awkwardHits();
        qsizetype i = 0;
        for (auto it = link.globalMatch(page); it.hasNext(); ++i) {
            const QRegularExpressionMatch m = it.next();
            QVERIFY(i < hits.size());
            QCOMPARE(htmlUnescape(m.captured(1)), hits.at(i).url);
            QCOMPARE(htmlUnescape(m.captured(2)), hits.at(i).title.isEmpty() ? hits.at(i).url : hits.at(i).title);
            QCOMPARE(htmlUnescape(m.captured(3)), hits.at(i).summary);
        }
        QCOMPARE(i, hits.size());
    }

    void withSuffix_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("csv added") << "/tmp/hits" << int(Format::Csv) << "/tmp/hits.csv";
        QTest::newRow("json added") << "/tmp/hits" << int(Format::Json) << "/tmp/hits.json";
        QTest::newRow("bookmarks added") << "/tmp/hits" << int(Format::Bookmarks) << "/tmp/hits.html";
        QTest::newRow("own kept") << "/tmp/hits.htm" << int(Format::Bookmarks) << "/tmp/hits.htm";
        QTest::newRow("dot in folder") << "/tmp/a.b/hits" << int(Format::Csv) << "/tmp/a.b/hits.csv";
        QTest::newRow("empty") << "" << int(Format::Csv) << "";
    }

    void withSuffix()
    {
        QFETCH(QString, path);
        QFETCH(int, format);
        QFETCH(QString, expected);
        QCOMPARE(CResultsExporter::WithSuffix(path, Format(format)), expected);
    }

    void formatNames()
    {
        QCOMPARE(CResultsExporter::FormatFromName("CSV"), std::optional<Format>(Format::Csv));
        QCOMPARE(CResultsExporter::FormatFromName("json"), std::optional<Format>(Format::Json));
        QCOMPARE(CResultsExporter::FormatFromName("bookmarks"), std::optional<Format>(Format::Bookmarks));
        QVERIFY(!CResultsExporter::FormatFromName("html"));
        QVERIFY(!CResultsExporter::FormatFromName(""));
    }

    void writeReplacesExistingFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("hits.csv");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old content");
        old.close();
        QString error;
        QVERIFY(awkwardExporter().WriteFile(path, Format::Csv, error));
        QVERIFY(error.isEmpty());
        QCOMPARE(readAll(path), awkwardExporter().Render(Format::Csv));
        QCOMPARE(entries(dir.path()), QStringList{"hits.csv"});
    }

    void unwritableFolder_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("missing folder") << "missing/hits.json" << false;
        QTest::newRow("folder is a file") << "plain/hits.json" << false;
        QTest::newRow("read-only folder") << "locked/hits.json" << true;
    }

    void unwritableFolder()
    {
        QFETCH(QString, relative);
        QFETCH(bool, readOnly);
        QTemporaryDir dir;
        QFile plain(dir.filePath("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QVERIFY(QDir(dir.path()).mkdir("locked"));
        const QString locked = dir.filePath("locked");
        if (readOnly) {
#ifdef Q_OS_UNIX
            if (geteuid() == 0)
                QSKIP("the superuser writes into read-only folders");
#endif
            QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
        }
        const QStringList before = entries(dir.path());
        const QString path = dir.filePath(relative);
        QString error;
        const bool written = awkwardExporter().WriteFile(path, Format::Json, error);
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!written);
        QVERIFY2(error.startsWith("Error!  Could not write \"" + QDir::toNativeSeparators(path) + "\": "), qPrintable(error));
        QVERIFY(error.size() > QString("Error!  Could not write \"\": ").size() + path.size());
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(entries(dir.path()), before);
        QVERIFY(entries(locked).isEmpty());
    }

#ifdef Q_OS_UNIX
    // A write that fails part way (a full disk, here a file size limit, which binds the
    // superuser too) keeps the old file and leaves no temporary one beside it.
    void existingFileKeptWhenWritingFails()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("hits.html");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old bookmarks");
        old.close();

        CTrawlexQueryResults many;
        for (int i = 0; i < 2000; ++i)
            many.AddResult(QStringLiteral("Title %1").arg(i), QStringLiteral("http://x.example/%1").arg(i),
                           QStringLiteral("Summary %1").arg(i), false);
        const CResultsExporter exporter(QStringLiteral("q"), QDateTime::currentDateTime(), many);

        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        QString error;
        const bool written = exporter.WriteFile(path, Format::Bookmarks, error);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(!written);
        QVERIFY2(error.startsWith("Error!  Could not write \"" + path + "\": "), qPrintable(error));
        QCOMPARE(readAll(path), QByteArray("old bookmarks"));
        QCOMPARE(entries(dir.path()), QStringList{"hits.html"});
    }
#endif
};

QTEST_GUILESS_MAIN(TestResultsExporter)
#include "tst_results_exporter.moc"
