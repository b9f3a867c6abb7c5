// The engine registry: the built-in engines agree with the pre-built database and the engine
// page, added engines get their own identity, and the built-in ones cannot be displaced.
#include "TestDatabase.h"
#include "query/CQuerySheetEntries.h"
#include "retrieval/EngineRegistry.h"
#include "store/CSearchEngineTable.h"
#include "store/CTrawlexDatabase.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestEngineRegistry final : public QObject
{
    Q_OBJECT

private:
    static EngineDescriptor added(const QString &name)
    {
        EngineDescriptor d;
        d.name = name;
        d.identifier = 2; // replaced by the registry
        return d;
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void builtInOrderIsTheEnginePage()
    {
        const EngineRegistry registry;
        QCOMPARE(registry.queryEngineNames(),
                 (QStringList{"AltaVista", "Excite", "HotBot", "InfoSeek", "Lycos", "Magellan", "OpenText",
                              "WebCrawler", "Worm", "Yahoo"}));
        // The redirect's repeated request is known but never chosen.
        QVERIFY(registry.contains("HotBotRepeat"));
        QCOMPARE(registry.identifierOf("HotBotRepeat"), 5);
        QVERIFY(!registry.queryEngineNames().contains("HotBotRepeat"));
    }

    // Every engine the database lists is in the registry with the same features, and every
    // engine that can be asked is in the database.
    void builtInsAgreeWithThePrebuiltDatabase()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        CTrawlexDatabase db(TestDatabase::copyPrebuilt(dir));
        const EngineRegistry registry;
        QStringList stored;
        for (const CSearchEngineTable::Engine &row : CSearchEngineTable(db).engines()) {
            stored << row.name;
            const EngineRegistry::Descriptor d = registry.find(row.name);
            QVERIFY2(d, qPrintable(row.name));
            QCOMPARE(d->takes(EngineFeature::Filters), row.filters);
            QCOMPARE(d->takes(EngineFeature::Groups), row.groups);
            QVERIFY2(d->readResults && d->createSocket, qPrintable(row.name));
        }
        for (const EngineRegistry::Descriptor &d : registry.queryEngines()) {
            if (d->canBeAsked())
                QVERIFY2(stored.contains(d->name), qPrintable(d->name));
        }
    }

    void addedEnginesGetFreshIdentifiers()
    {
        EngineRegistry registry;
        QVERIFY(registry.add(added("Feeds")));
        QVERIFY(registry.add(added("Papers")));
        const int feeds = registry.identifierOf("Feeds");
        const int papers = registry.identifierOf("Papers");
        QCOMPARE(feeds, EngineRegistry::kFirstAddedIdentifier);
        QCOMPARE(papers, feeds + 1);
        QCOMPARE(registry.nameOf(papers), QStringLiteral("Papers"));
        QCOMPARE(registry.queryEngineNames().mid(10), (QStringList{"Feeds", "Papers"}));
        QVERIFY(!registry.find("Feeds")->builtIn);

        // A removed engine's identifier is not handed out again: a late timer of a run that
        // still used it must not name another engine.
        QVERIFY(registry.remove("Feeds"));
        QVERIFY(!registry.contains("Feeds"));
        QVERIFY(registry.add(added("Feeds")));
        QCOMPARE(registry.identifierOf("Feeds"), papers + 1);
        QVERIFY(registry.nameOf(feeds).isEmpty());
    }

    void namesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << "";
        QTest::newRow("built-in") << "Yahoo";
        QTest::newRow("built-in in other case") << "yahoo";
        QTest::newRow("retired") << "WORM";
        QTest::newRow("redirect") << "hotbotrepeat";
        QTest::newRow("added in other case") << "FEEDS";
    }

    void namesAreRefused()
    {
        QFETCH(QString, name);
        EngineRegistry registry;
        QVERIFY(registry.add(added("Feeds")));
        const QStringList before = registry.queryEngineNames();
        QVERIFY(!registry.add(added(name)));
        QCOMPARE(registry.queryEngineNames(), before);
    }

    void builtInsStay()
    {
        EngineRegistry registry;
        QVERIFY(!registry.remove("AltaVista"));
        QVERIFY(!registry.remove("OpenText"));
        QVERIFY(registry.contains("AltaVista"));
        QVERIFY(!registry.remove("Nothing"));
    }

    // The program's registry is what the query model and the command line accept.
    void queryNamesFollowTheProgramsRegistry()
    {
        EngineRegistry &registry = EngineRegistry::instance();
        QVERIFY(!CQuerySheetEntries::IsEngineName("Feeds"));
        QVERIFY(registry.add(added("Feeds")));
        QVERIFY(CQuerySheetEntries::IsEngineName("Feeds"));
        QVERIFY(!CQuerySheetEntries::IsEngineName("feeds"));
        QVERIFY(registry.remove("Feeds"));
        QVERIFY(!CQuerySheetEntries::IsEngineName("Feeds"));
    }
};

QTEST_GUILESS_MAIN(TestEngineRegistry)
#include "tst_engine_registry.moc"
