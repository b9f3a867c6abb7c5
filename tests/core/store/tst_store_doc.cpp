#include "ResultsTestSupport.h"
#include "StoreRecordingPrompt.h"
#include "TestDatabase.h"

#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "store/CDaoException.h"
#include "store/CMainQueryTable.h"
#include "store/CSearchEngineTable.h"
#include "store/CTrawlexDatabase.h"
#include "store/CTrawlexDoc.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class tst_store_doc : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void initialState();
    void opensFromCurrentDirectory();
    void engineAddressListFromDatabase();
    void activeDocument();
    void prepareUpdate_data();
    void prepareUpdate();
    void reopenReplacesDatabase();
};

void tst_store_doc::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_store_doc::initialState()
{
    CTrawlexDoc doc;
    QCOMPARE(doc.UpdateQID, -1);
    QCOMPARE(doc.OverwriteQID, -1);
    QVERIFY(doc.m_bFirstNewDocument);
    QVERIFY(!doc.HasDatabase());
    QVERIFY(doc.EngineAddressList().isEmpty());
    QCOMPARE(doc.ResultsSet().Qid(), -1);
    QVERIFY(!doc.ResultsSet().IsRunning());
    QVERIFY(doc.Query().m_strName.isEmpty());
    QVERIFY_THROWS_EXCEPTION(CDaoException, doc.LoadEngineAddressList());
}

void tst_store_doc::opensFromCurrentDirectory()
{
    QTemporaryDir dir;
    TestDatabase::copyPrebuilt(dir);
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    StoreRecordingPrompt prompt;
    CTrawlexDoc doc;
    const bool opened = doc.OpenDatabase(QString(), &prompt);
    QDir::setCurrent(before);
    QVERIFY(opened);
    QVERIFY(prompt.messages.isEmpty());
    QCOMPARE(QFileInfo(doc.Database().path()).canonicalPath(), QFileInfo(dir.path()).canonicalFilePath());
}

void tst_store_doc::engineAddressListFromDatabase()
{
    QTemporaryDir dir;
    CTrawlexDoc doc;
    QVERIFY(doc.OpenDatabase(TestDatabase::copyPrebuilt(dir), nullptr));
    doc.LoadEngineAddressList();
    const QString list = doc.EngineAddressList();
    QVERIFY(list.startsWith(QStringLiteral("|AltaVista|altavista.digital.com/cgi-bin/query||Excite|")));
    QVERIFY(list.endsWith(QStringLiteral("||Yahoo|search.yahoo.com/|")));
    for (const char *name : {"AltaVista", "Excite", "HotBot", "HotBotRepeat", "InfoSeek", "Lycos", "Magellan", "Yahoo"})
        QCOMPARE(list.count(QLatin1Char('|') + QLatin1String(name) + QLatin1Char('|')), 1);

    // Built again, not appended to.
    doc.SearchEngines().setEngineAddress(QStringLiteral("Lycos"), QString(QLatin1String("")));
    doc.LoadEngineAddressList();
    QVERIFY(doc.EngineAddressList().contains(QStringLiteral("||Lycos|||Magellan|")));
    QCOMPARE(doc.EngineAddressList().count(QStringLiteral("|AltaVista|")), 1);
}

void tst_store_doc::activeDocument()
{
    QCOMPARE(GetActiveTrawlexDoc(), nullptr);
    auto doc = std::make_unique<CTrawlexDoc>();
    SetActiveTrawlexDoc(doc.get());
    QCOMPARE(GetActiveTrawlexDoc(), doc.get());
    // A destroyed document is never handed out.
    doc.reset();
    QCOMPARE(GetActiveTrawlexDoc(), nullptr);
    CTrawlexDoc other;
    SetActiveTrawlexDoc(&other);
    SetActiveTrawlexDoc(nullptr);
    QCOMPARE(GetActiveTrawlexDoc(), nullptr);
}

void tst_store_doc::prepareUpdate_data()
{
    QTest::addColumn<int>("qid");
    QTest::newRow("query on show") << 42;
    QTest::newRow("no query on show") << -1;
}

void tst_store_doc::prepareUpdate()
{
    QFETCH(int, qid);
    CTrawlexDoc doc;
    CTrawlexQueryResults &results = doc.ResultsSet();
    results.SetQid(qid);
    results.SetLevel(3);
    results.AddResult(QStringLiteral("a"), QStringLiteral("http://a/"), QStringLiteral("s"), true);
    results.AddResult(QStringLiteral("b"), QStringLiteral("http://b/"), QStringLiteral("s"), false);

    doc.PrepareUpdate();
    QCOMPARE(ResultsTestSupport::newFlags(results), (QList<int>{0, 0}));
    QCOMPARE(doc.UpdateQID, qid);
    QCOMPARE(doc.UpdateLevel, 3);
    QCOMPARE(doc.UpdateFirstNew, 2);
    QCOMPARE(results.Qid(), -1);
    QVERIFY(results.IsRunning());

    doc.CancelUpdate(results);
    QCOMPARE(results.Qid(), qid);
    QCOMPARE(doc.UpdateQID, -1);
    QVERIFY(!results.IsRunning());
}

void tst_store_doc::reopenReplacesDatabase()
{
    QTemporaryDir dir;
    const QString good = TestDatabase::copyPrebuilt(dir);
    CTrawlexDoc doc;
    QVERIFY(doc.OpenDatabase(good, nullptr));
    const int qid = doc.MainQueries().insertQuery(QStringLiteral("kept"));
    StoreRecordingPrompt prompt;
    QVERIFY(!doc.OpenDatabase(dir.filePath(QStringLiteral("nothing.mdb")), &prompt));
    QCOMPARE(prompt.messages.size(), 1);
    QVERIFY(!doc.HasDatabase());
    QVERIFY(doc.OpenDatabase(good, &prompt));
    QCOMPARE(doc.MainQueries().queryName(qid), QStringLiteral("kept"));
}

QTEST_GUILESS_MAIN(tst_store_doc)
#include "tst_store_doc.moc"
