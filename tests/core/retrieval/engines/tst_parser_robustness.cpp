#include "retrieval/engines/EngineParsers.h"
#include "retrieval/engines/PageCursor.h"

#include "TestPaths.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>

#include <vector>

namespace {

struct Outcome
{
    std::vector<EngineHit> hits;
    QString extra;
    qsizetype delivered = 0; // characters in all fields together
};

Outcome run(const QString &engine, QByteArrayView page)
{
    Outcome out;
    out.extra = EngineParsers::parse(engine, page, [&out](EngineHit &&hit) {
        out.delivered += hit.title.size() + hit.url.size() + hit.summary.size();
        out.hits.push_back(std::move(hit));
    });
    return out;
}

QByteArray repeat(const QByteArray &unit, int times)
{
    QByteArray out;
    out.reserve(unit.size() * times);
    for (int i = 0; i < times; ++i)
        out += unit;
    return out;
}

const char *const kEngines[] = {"AltaVista", "Excite", "HotBot", "InfoSeek", "Lycos", "Magellan", "Yahoo"};

} // namespace

class TestParserRobustness final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void cursorCuts_data();
    void cursorCuts();
    void cursorSearchesAfterMoving();
    void cursorBackwardSearch();
    void yahooBoldRemoval_data();
    void yahooBoldRemoval();
    void yahooUnusablePath_data();
    void yahooUnusablePath();
    void everyPrefixOfEveryPage();
    void hostilePages_data();
    void hostilePages();
    void randomBytes();
};

void TestParserRobustness::cursorCuts_data()
{
    QTest::addColumn<QByteArray>("op");
    QTest::addColumn<QByteArray>("marker");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QByteArray>("rest");

    QTest::newRow("cut to") << QByteArray("cutTo") << QByteArray("<x>") << true << QByteArray("<x>cd<x>ef");
    QTest::newRow("cut to missing") << QByteArray("cutTo") << QByteArray("<y>") << false << QByteArray();
    QTest::newRow("cut after") << QByteArray("cutAfter") << QByteArray("<x>") << true << QByteArray("cd<x>ef");
    QTest::newRow("cut after missing") << QByteArray("cutAfter") << QByteArray("<y>") << false << QByteArray();
    QTest::newRow("end at") << QByteArray("endAt") << QByteArray("<x>") << true << QByteArray("ab");
    // Ending at a marker that is not there keeps the text.
    QTest::newRow("end at missing") << QByteArray("endAt") << QByteArray("<y>") << true << QByteArray("ab<x>cd<x>ef");
    QTest::newRow("case matters") << QByteArray("cutTo") << QByteArray("<X>") << false << QByteArray();
}

void TestParserRobustness::cursorCuts()
{
    QFETCH(QByteArray, op);
    QFETCH(QByteArray, marker);
    QFETCH(bool, found);
    QFETCH(QByteArray, rest);
    const QByteArray page("ab<x>cd<x>ef");
    PageCursor text(page);
    bool ok = true;
    if (op == "cutTo")
        ok = text.cutTo(marker);
    else if (op == "cutAfter")
        ok = text.cutAfter(marker);
    else
        text.endAt(marker);
    QCOMPARE(ok, found);
    QCOMPARE(text.text().toByteArray(), rest);
}

void TestParserRobustness::cursorSearchesAfterMoving()
{
    // Remembered search results must follow the view as it moves and shrinks.
    const QByteArray page("<a>1<b>2<a>3<b>4<a>5");
    PageCursor text(page);
    QCOMPARE(text.indexOf("<b>"), 4);
    QVERIFY(text.cutAfter("<a>"));
    QCOMPARE(text.indexOf("<b>"), 1);
    QVERIFY(text.cutAfter("<b>"));
    QCOMPARE(text.indexOf("<b>"), 5);
    QCOMPARE(text.indexOf("<a>"), 1);
    text.endAt("<b>");
    QCOMPARE(text.text().toByteArray(), QByteArray("2<a>3"));
    QCOMPARE(text.indexOf("<b>"), -1);
    QCOMPARE(text.indexOf('3'), 4);
    bool found = true;
    QCOMPARE(text.takeUpTo('!', &found).toByteArray(), QByteArray("2<a>3"));
    QVERIFY(!found);
    QCOMPARE(text.takeUpTo('<', &found).toByteArray(), QByteArray("2"));
    QVERIFY(found);
    // A marker written at run time is remembered by its bytes, not by where it lives.
    QByteArray marker("<a>");
    QCOMPARE(text.indexOf(marker), 1);
    marker = "3";
    QCOMPARE(text.indexOf(marker), 4);

    const QByteArrayView field = text.text().first(3);
    text.cutPast(field);
    QCOMPARE(text.text().toByteArray(), QByteArray(">3"));
    text.cutPast(QByteArrayView(page).first(2)); // behind the view: no move
    QCOMPARE(text.text().toByteArray(), QByteArray(">3"));
    text.skip(99);
    QVERIFY(text.isEmpty());
}

void TestParserRobustness::cursorBackwardSearch()
{
    const QByteArray page("x</B>a</B>b%</FONT>c</B>d%</FONT>");
    PageCursor text(page);
    const qsizetype first = text.indexOf("%</FONT>");
    QCOMPARE(text.lastIndexOf("</B>", first), 6);
    text.skip(7);
    // The nearest "</B>" before the mark is now outside the view.
    QCOMPARE(text.lastIndexOf("</B>", first - 7), -1);
    QCOMPARE(text.lastIndexOf("</B>", text.indexOf("%</FONT>", 8)), 13);
}

void TestParserRobustness::yahooBoldRemoval_data()
{
    QTest::addColumn<QByteArray>("title");
    QTest::addColumn<QString>("expected");
    QTest::newRow("around a word") << QByteArray("Bee<b>keep</b>ing") << "Beekeeping";
    // Removing one tag can make a new one; those go too.
    QTest::newRow("nested open") << QByteArray("<<b>b>Bees</b>") << "Bees";
    QTest::newRow("made by closing") << QByteArray("Bee<</b>b>s") << "Bees";
    QTest::newRow("closing made by opening") << QByteArray("x</<b>b>y") << "xy";
    QTest::newRow("upper case stays") << QByteArray("<B>Bees</B>") << "<B>Bees</B>";
    QTest::newRow("half tags stay") << QByteArray("<b Bees </b") << "<b Bees </b";
}

void TestParserRobustness::yahooBoldRemoval()
{
    QFETCH(QByteArray, title);
    QFETCH(QString, expected);
    const QByteArray page = "<TITLE>Yahoo! Search Results</TITLE>\n<B>Yahoo! Category Matches</B><p>\n<LI><A HREF=\"http://y/c/\">"
        + title + "</A>\n<CENTER>\n";
    const Outcome out = run(QStringLiteral("Yahoo"), page);
    QCOMPARE(int(out.hits.size()), 1);
    QCOMPARE(out.hits[0].title, expected);
}

void TestParserRobustness::yahooUnusablePath_data()
{
    QTest::addColumn<QByteArray>("link");
    QTest::addColumn<QString>("extra");
    QTest::newRow("plain") << QByteArray("<A HREF=\"/bin/search?p=x&b=21\">") << "/bin/search?p=x&b=21";
    // The path is kept as the page wrote it: the request escapes what would split its line,
    // and dropping it would end the continuation.
    QTest::newRow("query with a blank") << QByteArray("<A HREF=\"/bin/search?p=wild orchids&b=21&h=s&n=20\">")
                                        << "/bin/search?p=wild orchids&b=21&h=s&n=20";
    QTest::newRow("line feed") << QByteArray("<A HREF=\"/bin/search?p=x\nHost: evil\">") << "/bin/search?p=x\nHost: evil";
    QTest::newRow("CR LF reads as LF") << QByteArray("<A HREF=\"/bin/search?p=x\r\nHost: evil\">") << "/bin/search?p=x\nHost: evil";
    QTest::newRow("blank") << QByteArray("<A HREF=\"/bin/search?p=x HTTP/1.1\">") << "/bin/search?p=x HTTP/1.1";
    QTest::newRow("non-ASCII") << QByteArray("<A HREF=\"/bin/search?p=caf\xe9&b=21\">") << QString::fromUtf8("/bin/search?p=caf\u00e9&b=21");
    // No path, or blanks alone: " ", which the stored queries know as no next set.
    QTest::newRow("blanks only") << QByteArray("<A HREF=\"  \">") << " ";
    QTest::newRow("empty") << QByteArray("<A HREF=\"\">") << " ";
    QTest::newRow("unclosed") << QByteArray("<A HREF=\"/bin/search?p=x") << " ";
}

void TestParserRobustness::yahooUnusablePath()
{
    QFETCH(QByteArray, link);
    QFETCH(QString, extra);
    const QByteArray page = "<B>Yahoo! Site Matches</B>\n<UL TYPE=disc>\n<LI><A HREF=\"http://s/\">Site</A> - about it\n</UL>\n"
        "<CENTER>[<B>" + link + "Next 20 Matches</A></B>]</CENTER><P>\n";
    const Outcome out = run(QStringLiteral("Yahoo"), page);
    QCOMPARE(out.extra, extra);
}

void TestParserRobustness::everyPrefixOfEveryPage()
{
    // A page cut off anywhere ends cleanly with at most the hits of the whole page.
    const QDir pages(TestPaths::dataDir() + QStringLiteral("/pages"));
    const struct
    {
        const char *engine;
        const char *file;
    } kPages[] = {{"AltaVista", "altavista/full.html"}, {"Excite", "excite/full.html"}, {"HotBot", "hotbot/full.html"},
                  {"InfoSeek", "infoseek/full.html"},   {"Lycos", "lycos/full.html"},   {"Magellan", "magellan/full.html"},
                  {"Yahoo", "yahoo/full.html"}};
    for (const auto &p : kPages) {
        QFile file(pages.filePath(QLatin1String(p.file)));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray page = file.readAll();
        const QString engine = QLatin1String(p.engine);
        const size_t whole = run(engine, page).hits.size();
        QCOMPARE(whole, size_t(10));
        for (qsizetype n = 0; n < page.size(); n += 3) {
            const Outcome out = run(engine, QByteArrayView(page).first(n));
            if (out.hits.size() > whole || out.delivered > n * 3 + 32 * qsizetype(out.hits.size()))
                QFAIL(qPrintable(QStringLiteral("%1 prefix %2: %3 hits").arg(engine).arg(n).arg(out.hits.size())));
        }
    }
}

void TestParserRobustness::hostilePages_data()
{
    // Pages built so that a parser re-reading text, or letting fields overlap, would take
    // time or memory growing with the square of the page. Each is over a megabyte.
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QByteArray>("page");
    const int n = 60000;

    QTest::newRow("InfoSeek, one summary end for all")
        << "InfoSeek"
        << "<font face=\"Arial,Helvetica\" color=\"FFFFFF\"><b>Search results" + repeat("<b><a href=\"u\">t</a><br>xx", n) + "<br>";
    QTest::newRow("Excite, one title end for all")
        << "Excite"
        << "<B>List by Web site</B></A>&nbsp;<FONT COLOR=navy>"
            + repeat("<FONT COLOR=x><A HREF=u><B><I>URL:</B>a <B><I>Summary:</B>s<BR>", n) + "</A>";
    QTest::newRow("HotBot, no number tags")
        << "HotBot" << repeat("<A HREF=\"u\">t</FONT></TD>>s<BR>\n%</FONT>", n);
    QTest::newRow("HotBot, percentages only") << "HotBot" << repeat("%</FONT>", n * 4);
    QTest::newRow("Lycos, no line feeds")
        << "Lycos"
        << "<!--- Formatted results start here ---><TABLE CELLPADDING=4 CELLSPACING=0 BORDER=0>"
            + repeat("<a href=\"u\">t<br>s", n) + "<!--- end formatted results --->";
    QTest::newRow("Magellan, no title ends")
        << "Magellan" << "<!--search results-->" + repeat("HREF=\"u\"" + QByteArray(20, ' ') + "<BR>s\n<HR>", n);
    QTest::newRow("AltaVista, no address ends")
        << "AltaVista" << repeat("<dt><font size=-1><b><a href=\"u<strong>t</strong></a><dd>s<br><cite", n);
    QTest::newRow("Yahoo, links inside one title")
        << "Yahoo" << "<B>Yahoo! Category Matches<p>" + repeat("HREF=\"u\">", n) + "</A>";
    QTest::newRow("Yahoo, dashes and nested lists")
        << "Yahoo"
        << "<B>Yahoo! Site Matches<UL TYPE=disc><A HREF"
            + repeat("<LI><A HREF=\"u\">t</A>" + QByteArray(30, '-') + "<UL TYPE=disc", n) + "</UL>";
    QTest::newRow("Yahoo, no list ends")
        << "Yahoo" << "<B>Yahoo! Site Matches<UL TYPE=disc><A HREF" + repeat("HREF=\"u\">t</A> d", n);
}

void TestParserRobustness::hostilePages()
{
    QFETCH(QString, engine);
    QFETCH(QByteArray, page);
    const Outcome out = run(engine, page);
    QVERIFY(qsizetype(out.hits.size()) <= page.size());
    QVERIFY2(out.delivered <= 3 * page.size() + 32 * qsizetype(out.hits.size()),
             qPrintable(QStringLiteral("%1 characters for a page of %2").arg(out.delivered).arg(page.size())));
}

void TestParserRobustness::randomBytes()
{
    // Noise with the engines' markers spliced in, from a fixed seed.
    QRandomGenerator random(19980312);
    const QByteArray pieces[] = {"<dt><font size=-1><b>", "<a href=", "\"", "<strong>", "</strong>", "</a><dd>", "<br><cite",
                                 "<B>List by Web site</B></A>&nbsp;", "<FONT COLOR=navy>", "<A HREF", "</A>", "<B><I>URL:",
                                 "</B>", "<B><I>Summary:", "<BR>", "%</FONT>", "</FONT></TD>", "<BR>\n", "<b><a href=",
                                 "<br>", "<!--- Formatted results start here --->", "<!--- end formatted results --->",
                                 "<TABLE CELLPADDING=4 CELLSPACING=0 BORDER=0>", "<!--search results-->", "HREF=\"",
                                 "<HR>", "<B>Yahoo! Category Matches", "<B>Yahoo! Site Matches", "<p>", "<CENTER",
                                 "<UL TYPE=disc", "<LI><A HREF", "<LI>", "</UL>", "<b>", ">", "<", "\n", " ", "-",
                                 "Matches</A></B>]</CENTER><P>", "\xc3", "\xe9"};
    for (int round = 0; round < 400; ++round) {
        QByteArray page;
        const int parts = int(random.bounded(200));
        for (int i = 0; i < parts; ++i) {
            if (random.bounded(3) == 0)
                page += char(random.bounded(256));
            else
                page += pieces[random.bounded(int(std::size(pieces)))];
        }
        for (const char *engine : kEngines) {
            const Outcome out = run(QLatin1String(engine), page);
            QVERIFY(out.delivered <= 3 * page.size() + 32 * qsizetype(out.hits.size()));
        }
    }
}

QTEST_GUILESS_MAIN(TestParserRobustness)
#include "tst_parser_robustness.moc"
