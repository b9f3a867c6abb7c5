// Servers sent LF or CR LF, and real pages mix both: every test page must give the same hits
// whichever line ends it was sent with.

#include "retrieval/engines/EngineParsers.h"
#include "retrieval/engines/PageCursor.h"

#include "TestPaths.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

#include <vector>

namespace {

struct Parsed
{
    std::vector<EngineHit> hits;
    QString extra;
};

Parsed parse(const QString &engine, const QByteArray &page)
{
    Parsed out;
    out.extra = EngineParsers::parse(engine, page, [&out](EngineHit &&hit) { out.hits.push_back(std::move(hit)); });
    return out;
}

// The engine whose pages a folder of tests/data/pages holds.
QString engineOf(const QString &folder)
{
    for (const char *name : {"AltaVista", "Excite", "HotBot", "InfoSeek", "Lycos", "Magellan", "Yahoo"}) {
        if (folder.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return QLatin1String(name);
    }
    return QString();
}

// Every line ends in LF, or (crLfEvery > 0) every crLfEvery-th line, counted from `offset`,
// ends in CR LF instead.
QByteArray withLineEnds(QByteArray page, int crLfEvery, int offset)
{
    page.replace("\r\n", "\n");
    if (crLfEvery <= 0)
        return page;
    QByteArray out;
    out.reserve(page.size() * 2);
    int line = 0;
    for (const char c : std::as_const(page)) {
        if (c == '\n' && (line++ + offset) % crLfEvery == 0)
            out += '\r';
        out += c;
    }
    return out;
}

} // namespace

class TestParserLineEnds final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void samePageSameHits_data();
    void samePageSameHits();
    void cursorLineEnds_data();
    void cursorLineEnds();
};

void TestParserLineEnds::samePageSameHits_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("crLfEvery");
    QTest::addColumn<int>("offset");

    const QDir pages(TestPaths::dataDir() + QStringLiteral("/pages"));
    const QStringList folders = pages.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    QVERIFY(folders.size() >= 7);
    for (const QString &folder : folders) {
        const QString engine = engineOf(folder);
        QVERIFY2(!engine.isEmpty(), qPrintable(folder));
        const QStringList files = QDir(pages.filePath(folder)).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
        for (const QString &file : files) {
            const QString path = folder + u'/' + file;
            const QByteArray name = path.toUtf8();
            QTest::addRow("%s CR LF", name.constData()) << engine << path << 1 << 0;
            // Mixed both ways round, so that every line end meets each form once.
            QTest::addRow("%s mixed, odd lines", name.constData()) << engine << path << 2 << 0;
            QTest::addRow("%s mixed, even lines", name.constData()) << engine << path << 2 << 1;
        }
    }
}

void TestParserLineEnds::samePageSameHits()
{
    QFETCH(QString, engine);
    QFETCH(QString, file);
    QFETCH(int, crLfEvery);
    QFETCH(int, offset);

    QFile f(TestPaths::dataDir() + QStringLiteral("/pages/") + file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray original = f.readAll();
    const Parsed lf = parse(engine, withLineEnds(original, 0, 0));
    const QByteArray page = withLineEnds(original, crLfEvery, offset);
    QVERIFY(page.contains("\r\n"));
    const Parsed other = parse(engine, page);

    QCOMPARE(other.hits.size(), lf.hits.size());
    for (size_t i = 0; i < lf.hits.size(); ++i) {
        QCOMPARE(other.hits[i].title, lf.hits[i].title);
        QCOMPARE(other.hits[i].url, lf.hits[i].url);
        QCOMPARE(other.hits[i].summary, lf.hits[i].summary);
        for (const QString &field : {other.hits[i].title, other.hits[i].url, other.hits[i].summary})
            QVERIFY2(!field.contains(u'\r'), qPrintable(field));
    }
    QCOMPARE(other.extra, lf.extra);
    // The page as stored gives what its LF form gives too.
    QCOMPARE(parse(engine, original).hits.size(), lf.hits.size());
}

void TestParserLineEnds::cursorLineEnds_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("beforeBr"); // textBeforeLineEnd("<BR>"), "-" for none
    QTest::addColumn<QByteArray>("line");     // takeLine()
    QTest::addColumn<QByteArray>("afterSkip"); // skipCharOrLineEnd()

    QTest::newRow("LF") << QByteArray("a<BR>b<BR>\nc") << QByteArray("a<BR>b") << QByteArray("a<BR>b<BR>")
                        << QByteArray("<BR>b<BR>\nc");
    QTest::newRow("CR LF") << QByteArray("a<BR>b<BR>\r\nc") << QByteArray("a<BR>b") << QByteArray("a<BR>b<BR>")
                           << QByteArray("<BR>b<BR>\r\nc");
    // The first line end wins, whichever form comes first.
    QTest::newRow("CR LF before LF") << QByteArray("a<BR>\r\nb<BR>\nc") << QByteArray("a") << QByteArray("a<BR>")
                                     << QByteArray("<BR>\r\nb<BR>\nc");
    QTest::newRow("LF before CR LF") << QByteArray("a<BR>\nb<BR>\r\nc") << QByteArray("a") << QByteArray("a<BR>")
                                     << QByteArray("<BR>\nb<BR>\r\nc");
    // A CR without LF is no line end.
    QTest::newRow("lone CR") << QByteArray("a<BR>\rb") << QByteArray("-") << QByteArray("a<BR>\rb") << QByteArray("<BR>\rb");
    QTest::newRow("starts with CR LF") << QByteArray("\r\nx") << QByteArray("-") << QByteArray("") << QByteArray("x");
    QTest::newRow("starts with LF") << QByteArray("\nx") << QByteArray("-") << QByteArray("") << QByteArray("x");
    QTest::newRow("CR at the end") << QByteArray("x\r") << QByteArray("-") << QByteArray("x\r") << QByteArray("\r");
}

void TestParserLineEnds::cursorLineEnds()
{
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, beforeBr);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, afterSkip);

    PageCursor text(page);
    QByteArrayView field;
    const bool found = text.textBeforeLineEnd("<BR>", field);
    QCOMPARE(found ? field.toByteArray() : QByteArray("-"), beforeBr);
    QCOMPARE(text.takeLine().toByteArray(), line);
    text.skipCharOrLineEnd();
    QCOMPARE(text.text().toByteArray(), afterSkip);
}

QTEST_GUILESS_MAIN(TestParserLineEnds)
#include "tst_parser_line_ends.moc"
