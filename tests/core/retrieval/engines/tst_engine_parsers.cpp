#include "retrieval/engines/EngineParsers.h"

#include "TestPaths.h"

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

QByteArray readPage(const QString &relative)
{
    QFile file(TestPaths::dataDir() + QStringLiteral("/pages/") + relative);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing test page %s", qPrintable(relative));
    return file.readAll();
}

Parsed parsePage(const QString &engine, const QByteArray &page)
{
    Parsed out;
    out.extra = EngineParsers::parse(engine, page, [&out](EngineHit &&hit) { out.hits.push_back(std::move(hit)); });
    return out;
}

Parsed parseFile(const QString &engine, const QString &relative)
{
    return parsePage(engine, readPage(relative));
}

} // namespace

class TestEngineParsers final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void knownEngines_data();
    void knownEngines();
    void hitCounts_data();
    void hitCounts();
    void hitFields_data();
    void hitFields();
    void deliveryOrder_data();
    void deliveryOrder();
    void yahooExtra_data();
    void yahooExtra();
    void yahooSummaries();
    void decoding_data();
    void decoding();
    void hotBotRepeatParsesAsHotBot();
    void unknownEngineDeliversNothing();
};

void TestEngineParsers::knownEngines_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<bool>("known");
    for (const char *name : {"AltaVista", "Excite", "HotBot", "HotBotRepeat", "InfoSeek", "Lycos", "Magellan", "Yahoo"})
        QTest::newRow(name) << QString::fromLatin1(name) << true;
    // Names are compared exactly; these engines have no parser.
    QTest::newRow("lower case") << QStringLiteral("altavista") << false;
    QTest::newRow("OpenText") << QStringLiteral("OpenText") << false;
    QTest::newRow("WebCrawler") << QStringLiteral("WebCrawler") << false;
    QTest::newRow("empty") << QString() << false;
}

void TestEngineParsers::knownEngines()
{
    QFETCH(QString, engine);
    QFETCH(bool, known);
    QCOMPARE(EngineParsers::hasParser(engine), known);
}

void TestEngineParsers::hitCounts_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("count");

    QTest::newRow("AltaVista full") << "AltaVista" << "altavista/full.html" << 10;
    QTest::newRow("AltaVista three blocks") << "AltaVista" << "altavista/three.html" << 3;
    QTest::newRow("AltaVista none") << "AltaVista" << "altavista/none.html" << 0;
    // The page stops inside hit 4: its summary has no end, so hits 1-3 only.
    QTest::newRow("AltaVista truncated") << "AltaVista" << "altavista/truncated.html" << 3;
    // Hit 3 lacks "</a><dd>": it takes hit 4's summary and hit 4 is passed over.
    QTest::newRow("AltaVista summary marker lost") << "AltaVista" << "altavista/broken-summary.html" << 4;

    QTest::newRow("Excite full") << "Excite" << "excite/full.html" << 10;
    QTest::newRow("Excite few") << "Excite" << "excite/few.html" << 2;
    QTest::newRow("Excite none") << "Excite" << "excite/none.html" << 0;
    QTest::newRow("Excite summary labels lost") << "Excite" << "excite/broken-summary.html" << 2;

    QTest::newRow("HotBot full") << "HotBot" << "hotbot/full.html" << 10;
    QTest::newRow("HotBot multi-line summary") << "HotBot" << "hotbot/multiline.html" << 3;
    QTest::newRow("HotBot none") << "HotBot" << "hotbot/none.html" << 0;

    QTest::newRow("InfoSeek full") << "InfoSeek" << "infoseek/full.html" << 10;
    QTest::newRow("InfoSeek few") << "InfoSeek" << "infoseek/few.html" << 2;
    QTest::newRow("InfoSeek no results under the header") << "InfoSeek" << "infoseek/none-with-header.html" << 0;
    QTest::newRow("InfoSeek without the header") << "InfoSeek" << "infoseek/no-header.html" << 0;

    QTest::newRow("Lycos full") << "Lycos" << "lycos/full.html" << 10;
    QTest::newRow("Lycos few") << "Lycos" << "lycos/few.html" << 3;
    QTest::newRow("Lycos none") << "Lycos" << "lycos/none.html" << 0;
    QTest::newRow("Lycos without end marker") << "Lycos" << "lycos/no-end-marker.html" << 0;

    QTest::newRow("Magellan full") << "Magellan" << "magellan/full.html" << 10;
    QTest::newRow("Magellan few") << "Magellan" << "magellan/few.html" << 2;
    QTest::newRow("Magellan none") << "Magellan" << "magellan/none.html" << 0;

    QTest::newRow("Yahoo full") << "Yahoo" << "yahoo/full.html" << 10;
    QTest::newRow("Yahoo categories and sites") << "Yahoo" << "yahoo/cats-and-sites.html" << 5;
    QTest::newRow("Yahoo no next set") << "Yahoo" << "yahoo/no-next.html" << 5;
    QTest::newRow("Yahoo web pages fallback") << "Yahoo" << "yahoo/altavista-fallback.html" << 0;
    QTest::newRow("Yahoo none") << "Yahoo" << "yahoo/none.html" << 0;
    QTest::newRow("Yahoo unclosed title") << "Yahoo" << "yahoo/unclosed-title.html" << 1;

    // Every engine reads another engine's page as no results.
    QTest::newRow("AltaVista on a Lycos page") << "AltaVista" << "lycos/full.html" << 0;
    QTest::newRow("Lycos on a Yahoo page") << "Lycos" << "yahoo/full.html" << 0;
    QTest::newRow("Yahoo on an Excite page") << "Yahoo" << "excite/full.html" << 0;
    QTest::newRow("InfoSeek on a HotBot page") << "InfoSeek" << "hotbot/full.html" << 0;
}

void TestEngineParsers::hitCounts()
{
    QFETCH(QString, engine);
    QFETCH(QString, page);
    QFETCH(int, count);
    QCOMPARE(int(parseFile(engine, page).hits.size()), count);
}

void TestEngineParsers::hitFields_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("summary");

    QTest::newRow("AltaVista first")
        << "AltaVista" << "altavista/full.html" << 0 << "Keeping a Sourdough Starter Alive"
        << "http://www.breadlines.org/starter.html"
        << "Keeping a Sourdough Starter Alive. Feed it twice a day with equal weights of flour and water, and keep it somewhere warm but not hot...";
    // Tags and entities come through as the page has them.
    QTest::newRow("AltaVista tags kept")
        << "AltaVista" << "altavista/full.html" << 4 << "The <b>Sourdough</b> Kitchen"
        << "http://www.geocities.com/NapaValley/2217/"
        << "Welcome to the <b>sourdough</b> kitchen &amp; bakery. Pictures of every loaf we baked this year, good and bad, with notes on what went...";
    QTest::newRow("AltaVista last")
        << "AltaVista" << "altavista/full.html" << 9 << "Steve's Baking Notes"
        << "http://www.io.com/~sjohn/baking/index.html"
        << "Steve's Baking Notes. Hydration tables, oven temperatures and a log of every experiment since I started baking bread in 1995...";
    QTest::newRow("AltaVista before the lost marker")
        << "AltaVista" << "altavista/broken-summary.html" << 1 << "Joe's Rye Page"
        << "http://members.aol.com/bakerjoe/rye.htm"
        << "Joe's Rye Page. Dark rye, light rye, pumpernickel and the eternal question of caraway. Recipes collected since 1991 from bakers in...";
    QTest::newRow("AltaVista after the lost marker")
        << "AltaVista" << "altavista/broken-summary.html" << 3 << "The <b>Sourdough</b> Kitchen"
        << "http://www.geocities.com/NapaValley/2217/"
        << "Welcome to the <b>sourdough</b> kitchen &amp; bakery. Pictures of every loaf we baked this year, good and bad, with notes on what went...";

    // Summaries keep their blanks; the address ends at the first blank.
    QTest::newRow("Excite first")
        << "Excite" << "excite/full.html" << 0 << "Lighthouse Keepers - A Short History"
        << "http://www.lighthouse.org/keepers/history.html"
        << " The last civilian keepers left their lights in the 1960s, but their logbooks tell of storms, shipwrecks and the long, quiet nights in between.  ";
    QTest::newRow("Excite title over two lines")
        << "Excite" << "excite/full.html" << 7 << "Grandpa's Years on Split Rock\n"
        << "http://www.geocities.com/Heartland/Plains/5731/"
        << " My grandfather kept the Split Rock light on Lake Superior from 1928 to 1944.  These are his letters.  ";
    QTest::newRow("Excite last")
        << "Excite" << "excite/full.html" << 9 << "Point Pinos and the Monterey Lights"
        << "http://www.mbay.net/~lights/" << "None Available";
    QTest::newRow("Excite before the lost labels")
        << "Excite" << "excite/broken-summary.html" << 1 << "Lighthouses of the U.S. Coast Guard"
        << "http://www.uscg.mil/hq/g-cp/history/lhlist.html"
        << "  A list by state of every light the Coast Guard still keeps, with the year it was first lit.  ";

    QTest::newRow("HotBot first")
        << "HotBot" << "hotbot/full.html" << 0 << "The Morris Ring" << "http://www.morrisring.org/"
        << "The Morris Ring is the national association of men's Morris and sword dance sides in England. Find a side near you, the calendar of ales and meetings, and notes on...";
    // A "<BR>" not followed by a line feed stays in the summary.
    QTest::newRow("HotBot inner BR kept")
        << "HotBot" << "hotbot/full.html" << 2 << "Morris Dancing in New England" << "http://www.tiac.net/users/morris/"
        << "Sides from Maine to Connecticut. Practice nights, the May Day dawn dance and the<BR>Marlboro Morris Ale every summer...";
    QTest::newRow("HotBot multi-line summary")
        << "HotBot" << "hotbot/multiline.html" << 1 << "A History of the Morris" << "http://www.morrisdance.org.uk/history.htm"
        << "First recorded in 1448 at Goldsmiths' Hall,<BR> the morris spread\nthrough the villages of the south Midlands<BR>and survived the Puritans...";
    QTest::newRow("HotBot after the multi-line summary")
        << "HotBot" << "hotbot/multiline.html" << 2 << "Cotswold Morris Traditions" << "http://www.shef.ac.uk/~morris/traditions.html"
        << "Bampton, Headington Quarry, Adderbury, Fieldtown: the villages and their dances, with the tunes each side uses and who collected them...";
    QTest::newRow("HotBot last")
        << "HotBot" << "hotbot/full.html" << 9 << "Seattle Morris Men" << "http://www.seattle-morris.org/"
        << "We practise Tuesdays in Wallingford. New dancers welcome; no experience needed, just <I>stamina</I>...";

    QTest::newRow("InfoSeek first")
        << "InfoSeek" << "infoseek/full.html" << 0 << "Comet Hale-Bopp Home Page" << "http://www.comet-hale-bopp.org/"
        << "Daily images of the brightest comet in twenty years, sent in by observers around the world.";
    QTest::newRow("InfoSeek entity in title")
        << "InfoSeek" << "infoseek/full.html" << 2 << "Sky &amp; Telescope: Hale-Bopp" << "http://www.skypub.com/comets/halebopp.html"
        << "Where to look tonight, how to photograph the comet with an ordinary camera, and what the tails are made of.";
    QTest::newRow("InfoSeek last")
        << "InfoSeek" << "infoseek/full.html" << 9 << "Tom Bopp" << "http://www.tombopp.com/"
        << "The other discoverer, who was looking at a globular cluster through a friend's telescope.";

    QTest::newRow("Lycos first")
        << "Lycos" << "lycos/full.html" << 0 << "Beekeeping Home Page" << "http://www.beekeeping.com/"
        << "Everything for the beekeeper: hives, smokers, suits, books and a directory of local associations.";
    QTest::newRow("Lycos tags in summary")
        << "Lycos" << "lycos/full.html" << 8 << "My First Hive" << "http://www.geocities.com/RainForest/4731/"
        << "A diary of a first year with bees in Ohio: <b>stings</b> &amp; all.";
    QTest::newRow("Lycos last")
        << "Lycos" << "lycos/full.html" << 9 << "Mead Making" << "http://www.mead.org/recipes.htm"
        << "Honey wine the old way: recipes for traditional mead, melomel and metheglin.";

    QTest::newRow("Magellan first")
        << "Magellan" << "magellan/full.html" << 0 << "Internet Chess Club" << "http://www.chessclub.com/"
        << "Play chess live against people from all over the world, day or night.";
    // Outer blanks and line feeds go, the ones inside stay.
    QTest::newRow("Magellan title over lines")
        << "Magellan" << "magellan/full.html" << 2 << "Kasparov vs. Deep Blue:\n  The Rematch" << "http://www.chess.ibm.com/"
        << "The six games of May 1997, move by move, with commentary from the grandmasters.";
    QTest::newRow("Magellan last")
        << "Magellan" << "magellan/full.html" << 9 << "FIDE" << "http://www.fide.com/"
        << "The world chess federation: rules, titles and the international rating list.";

    QTest::newRow("Yahoo category, bold removed")
        << "Yahoo" << "yahoo/cats-and-sites.html" << 0 << "Science: Biology: Entomology: Insects and Arthropods: Bees"
        << "http://www.yahoo.com/Science/Biology/Entomology/Insects_and_Arthropods/Bees/" << "Yahoo Category";
    QTest::newRow("Yahoo plain category")
        << "Yahoo" << "yahoo/cats-and-sites.html" << 2 << "Recreation: Hobbies: Beekeeping"
        << "http://www.yahoo.com/Recreation/Hobbies/Beekeeping/" << "Yahoo Category";
    QTest::newRow("Yahoo site")
        << "Yahoo" << "yahoo/cats-and-sites.html" << 3 << "Bee Culture Magazine" << "http://www.beeculture.com/"
        << "Yahoo Site.  Monthly magazine for beekeepers since 1873.\n";
    // Line feeds, blanks and dashes before the description are skipped.
    QTest::newRow("Yahoo site, bold title, dash on next line")
        << "Yahoo" << "yahoo/cats-and-sites.html" << 4 << "Africanized Bees in Texas" << "http://www.killerbees.org/"
        << "Yahoo Site.  Where they have been found, and what to do if you meet a swarm.\n";
    // The description runs into a nested list and ends at its "<LI>"; the next hit is in it.
    QTest::newRow("Yahoo description into nested list")
        << "Yahoo" << "yahoo/full.html" << 5 << "Lighthouse News" << "http://www.lighthouse-news.com/"
        << "Yahoo Site.  Weekly news; sections:\n<UL TYPE=disc>";
    QTest::newRow("Yahoo nested site")
        << "Yahoo" << "yahoo/full.html" << 6 << "Lights for Sale" << "http://www.lighthouse-news.com/sales/"
        << "Yahoo Site.  Government lights sold to private owners.\n";
    QTest::newRow("Yahoo last site")
        << "Yahoo" << "yahoo/full.html" << 9 << "Keepers of the Light" << "http://www.keepers.org/"
        << "Yahoo Site.  Stories from the last keepers and their families.\n";
    QTest::newRow("Yahoo site before the unclosed title")
        << "Yahoo" << "yahoo/unclosed-title.html" << 0 << "Bee Culture Magazine" << "http://www.beeculture.com/"
        << "Yahoo Site.  Monthly magazine for beekeepers.\n";
}

void TestEngineParsers::hitFields()
{
    QFETCH(QString, engine);
    QFETCH(QString, page);
    QFETCH(int, index);
    QFETCH(QString, title);
    QFETCH(QString, url);
    QFETCH(QString, summary);

    const Parsed parsed = parseFile(engine, page);
    QVERIFY(index < int(parsed.hits.size()));
    const EngineHit &hit = parsed.hits[size_t(index)];
    QCOMPARE(hit.title, title);
    QCOMPARE(hit.url, url);
    QCOMPARE(hit.summary, summary);
}

void TestEngineParsers::deliveryOrder_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("urls");

    QTest::newRow("AltaVista three") << "AltaVista" << "altavista/three.html"
        << QStringList{"http://www.breadlines.org/starter.html", "http://members.aol.com/bakerjoe/rye.htm",
                       "http://www.cs.wisc.edu/~hoff/bread/"};
    QTest::newRow("Lycos few") << "Lycos" << "lycos/few.html"
        << QStringList{"http://www.beekeeping.com/", "http://www.cyberbee.net/biology/", "http://www.apis.ifas.ufl.edu/"};
    // Categories first, then sites, each in page order.
    QTest::newRow("Yahoo full") << "Yahoo" << "yahoo/full.html"
        << QStringList{"http://www.yahoo.com/Arts/Design_Arts/Architecture/Lighthouses/",
                       "http://www.yahoo.com/Regional/Countries/United_States/Lighthouses/",
                       "http://www.lighthouse.cc/", "http://www.uslhs.org/", "http://www.execpc.com/~jbs/lights/",
                       "http://www.lighthouse-news.com/", "http://www.lighthouse-news.com/sales/",
                       "http://www.terrypepper.com/lights/", "http://www.maine.com/lights/", "http://www.keepers.org/"};
    QTest::newRow("HotBot full") << "HotBot" << "hotbot/full.html"
        << QStringList{"http://www.morrisring.org/", "http://www.shef.ac.uk/~morris/traditions.html",
                       "http://www.tiac.net/users/morris/", "http://www.efdss.org/", "http://www.gsl.net/morris/bells.html",
                       "http://www.folkmusic.net/morris/tunes.html", "http://www.bampton.org.uk/",
                       "http://www.abingdon.gov.uk/mayor.html", "http://www.winster.org/morris.htm",
                       "http://www.seattle-morris.org/"};
}

void TestEngineParsers::deliveryOrder()
{
    QFETCH(QString, engine);
    QFETCH(QString, page);
    QFETCH(QStringList, urls);
    QStringList got;
    for (const EngineHit &hit : parseFile(engine, page).hits)
        got << hit.url;
    QCOMPARE(got, urls);
}

void TestEngineParsers::yahooExtra_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("extra");
    QTest::newRow("next set") << "yahoo/cats-and-sites.html" << "/bin/search?p=bees&b=21&h=s";
    QTest::newRow("full") << "yahoo/full.html" << "/bin/search?p=lighthouses&b=21&h=s";
    QTest::newRow("no next set") << "yahoo/no-next.html" << " ";
    QTest::newRow("web pages fallback") << "yahoo/altavista-fallback.html" << " ";
    QTest::newRow("no matches") << "yahoo/none.html" << " ";
}

void TestEngineParsers::yahooExtra()
{
    QFETCH(QString, page);
    QFETCH(QString, extra);
    QCOMPARE(parseFile(QStringLiteral("Yahoo"), page).extra, extra);
}

void TestEngineParsers::yahooSummaries()
{
    // Three categories then two sites, by their summaries.
    const Parsed parsed = parseFile(QStringLiteral("Yahoo"), QStringLiteral("yahoo/cats-and-sites.html"));
    QCOMPARE(int(parsed.hits.size()), 5);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(parsed.hits[size_t(i)].summary, QStringLiteral("Yahoo Category"));
    for (int i = 3; i < 5; ++i)
        QVERIFY(parsed.hits[size_t(i)].summary.startsWith(QStringLiteral("Yahoo Site.  ")));

    // The other engines complete with an empty Extra.
    QCOMPARE(parseFile(QStringLiteral("Lycos"), QStringLiteral("lycos/full.html")).extra, QString());
}

void TestEngineParsers::decoding_data()
{
    QTest::addColumn<QString>("page");
    QTest::newRow("UTF-8 in the header") << "altavista/utf8-header.html";
    QTest::newRow("UTF-8 in a meta tag") << "altavista/utf8-meta.html";
    QTest::newRow("undeclared Windows-1252") << "altavista/cp1252.html";
    QTest::newRow("header outranks meta") << "altavista/cp1252-header-over-meta.html";
}

void TestEngineParsers::decoding()
{
    // The same text in either encoding comes out the same; lengths count characters.
    QFETCH(QString, page);
    const Parsed parsed = parseFile(QStringLiteral("AltaVista"), page);
    QCOMPARE(int(parsed.hits.size()), 1);
    QCOMPARE(parsed.hits[0].title, QStringLiteral("Café Müller – Köln"));
    QCOMPARE(parsed.hits[0].title.size(), 18);
    QCOMPARE(parsed.hits[0].summary, QStringLiteral("„Kaffee und Kuchen“ seit 1923, 5 €"));
    QCOMPARE(parsed.hits[0].url, QStringLiteral("http://www.cafe-mueller.de/"));
}

void TestEngineParsers::hotBotRepeatParsesAsHotBot()
{
    const QByteArray page = readPage(QStringLiteral("hotbot/full.html"));
    const Parsed a = parsePage(QStringLiteral("HotBot"), page);
    const Parsed b = parsePage(QStringLiteral("HotBotRepeat"), page);
    QCOMPARE(b.hits.size(), a.hits.size());
    for (size_t i = 0; i < a.hits.size(); ++i)
        QCOMPARE(b.hits[i].url, a.hits[i].url);
}

void TestEngineParsers::unknownEngineDeliversNothing()
{
    const Parsed parsed = parseFile(QStringLiteral("WebCrawler"), QStringLiteral("altavista/full.html"));
    QVERIFY(parsed.hits.empty());
    QCOMPARE(parsed.extra, QString());
}

QTEST_GUILESS_MAIN(TestEngineParsers)
#include "tst_engine_parsers.moc"
