#include "TestDatabase.h"

#include "app/IUserPrompt.h"
#include "query/CQuerySheetEntries.h"
#include "run/CQuerySheetValidator.h"
#include "store/CMainQueryTable.h"
#include "store/CTrawlexDoc.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class RecordingPrompt final : public IUserPrompt
{
public:
    void showMessage(const QString &text) override { messages << text; }
    bool askYesNo(const QString &text) override
    {
        questions << text;
        return answer;
    }
    QStringList messages;
    QStringList questions;
    bool answer = false;
};

const QString kOverwrite = QStringLiteral("Error!  Query name already exists.  Overwrite?");

} // namespace

class TestQuerySheetValidator final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void rules_data();
    void rules();
    void overwriteAccepted_data();
    void overwriteAccepted();
    void overwriteDeclinedRefusesSilently();
    void laterRuleKeepsOverwriteUnset();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<CTrawlexDoc> m_doc;
    int m_nStoredQid = -1;
};

void TestQuerySheetValidator::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestQuerySheetValidator::init()
{
    QVERIFY(m_dir.isValid());
    const QString path = TestDatabase::copyPrebuilt(m_dir);
    QVERIFY(!path.isEmpty());
    m_doc = std::make_unique<CTrawlexDoc>();
    QVERIFY(m_doc->OpenDatabase(path, nullptr));
    m_nStoredQid = m_doc->MainQueries().insertQuery(QStringLiteral("Fruit"));
}

void TestQuerySheetValidator::cleanup()
{
    m_doc.reset();
}

void TestQuerySheetValidator::rules_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("keywords");
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<QStringList>("members");
    QTest::addColumn<QStringList>("filters");
    QTest::addColumn<QStringList>("engines");
    QTest::addColumn<QString>("message"); // empty: accepted

    const QStringList av{QStringLiteral("AltaVista")};
    const QStringList apple{QStringLiteral("include:apple")};
    const QStringList none;

    QTest::newRow("missing name") << QString() << apple << none << none << none << av
                                  << QStringLiteral("Error!  Missing name of query.");
    QTest::newRow("no engine") << QStringLiteral("Pie") << apple << none << none << none << none
                               << QStringLiteral("Error!  No Search engine selected.");
    QTest::newRow("nothing included")
        << QStringLiteral("Pie") << QStringList{QStringLiteral("optional:apple"), QStringLiteral("exclude:pear")} << none << none
        << none << av << QStringLiteral("Error!  At least one keyword must be included in search to be meaningful.");
    QTest::newRow("exclusion with InfoSeek, AltaVista could take it")
        << QStringLiteral("Pie") << QStringList{QStringLiteral("include:apple"), QStringLiteral("exclude:pear")} << none << none
        << none << QStringList{QStringLiteral("AltaVista"), QStringLiteral("InfoSeek")}
        << QStringLiteral("Error!  Excluding keywods or filters is not valid on InfoSeek search engine.");
    QTest::newRow("InfoSeek with only an excluding filter: text begins with not")
        << QStringLiteral("Pie") << none << none << none << QStringList{QStringLiteral("URL:exclude:spam")}
        << QStringList{QStringLiteral("InfoSeek")}
        << QStringLiteral("Error!  Excluding keywods or filters is not valid on InfoSeek search engine.");
    QTest::newRow("empty group before the keyword rule")
        << QStringLiteral("Pie") << none << QStringList{QStringLiteral("include:fruit")} << none << none << av
        << QStringLiteral("Error!  Empty Group.");
    QTest::newRow("group without keywords")
        << QStringLiteral("Pie") << none << QStringList{QStringLiteral("include:fruit")}
        << QStringList{QStringLiteral("fruit:include:pear")} << none << av
        << QStringLiteral("Error!  At least one keyword must be present when querying with groups.");
    QTest::newRow("two engines without groups, in table order")
        << QStringLiteral("Pie") << apple << QStringList{QStringLiteral("include:fruit")}
        << QStringList{QStringLiteral("fruit:include:pear")} << none
        << QStringList{QStringLiteral("Yahoo"), QStringLiteral("AltaVista"), QStringLiteral("InfoSeek")}
        << QStringLiteral("Error!  The following search engines do not allow groups:  InfoSeek, Yahoo");
    QTest::newRow("engines without filters")
        << QStringLiteral("Pie") << apple << none << none << QStringList{QStringLiteral("Title:include:pie")}
        << QStringList{QStringLiteral("Excite"), QStringLiteral("HotBot"), QStringLiteral("Magellan")}
        << QStringLiteral("Error!  The following search engines do not allow filters:  Excite, Magellan");
    QTest::newRow("link filter with Yahoo and a filterless engine: the filter rule speaks")
        << QStringLiteral("Pie") << apple << none << none << QStringList{QStringLiteral("Link:include:x.com")}
        << QStringList{QStringLiteral("Lycos"), QStringLiteral("Yahoo")}
        << QStringLiteral("Error!  The following search engines do not allow filters:  Lycos");
    QTest::newRow("link filter with Yahoo")
        << QStringLiteral("Pie") << apple << none << none << QStringList{QStringLiteral("Link:include:x.com")}
        << QStringList{QStringLiteral("Yahoo")} << QStringLiteral("Error!  Link filter not valid for Yahoo search engine.");
    QTest::newRow("title filter with Yahoo passes") << QStringLiteral("Pie") << apple << none << none
                                                    << QStringList{QStringLiteral("Title:include:x")}
                                                    << QStringList{QStringLiteral("Yahoo")} << QString();
    QTest::newRow("empty query passes") << QStringLiteral("Pie") << none << none << none << none << av << QString();
    QTest::newRow("full query passes")
        << QStringLiteral("Pie") << QStringList{QStringLiteral("exclude:crust"), QStringLiteral("include:apple")}
        << QStringList{QStringLiteral("optional:fruit")} << QStringList{QStringLiteral("fruit:include:pear")}
        << QStringList{QStringLiteral("URL:exclude:spam")} << QStringList{QStringLiteral("AltaVista"), QStringLiteral("HotBot")}
        << QString();
}

void TestQuerySheetValidator::rules()
{
    QFETCH(QString, name);
    QFETCH(QStringList, keywords);
    QFETCH(QStringList, groups);
    QFETCH(QStringList, members);
    QFETCH(QStringList, filters);
    QFETCH(QStringList, engines);
    QFETCH(QString, message);

    CQuerySheetEntries entries;
    entries.m_strName = name;
    entries.m_keywordEntries = keywords;
    entries.m_groupEntries = groups;
    entries.m_memberEntries = members;
    entries.m_filterEntries = filters;
    entries.m_engines = engines;

    RecordingPrompt prompt;
    CQuerySheetValidator validator(*m_doc, prompt);
    const bool ok = validator.ValidateQuerySheet(entries);
    QCOMPARE(ok, message.isEmpty());
    QCOMPARE(prompt.messages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(validator.RefusalMessage(), message);
    QVERIFY(prompt.questions.isEmpty());
    QCOMPARE(m_doc->OverwriteQID, -1);
}

void TestQuerySheetValidator::overwriteAccepted_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("same name") << QStringLiteral("Fruit");
    QTest::newRow("surrounding blanks") << QStringLiteral("  Fruit\t");
    QTest::newRow("other letter case") << QStringLiteral("FRUIT");
}

void TestQuerySheetValidator::overwriteAccepted()
{
    QFETCH(QString, name);
    CQuerySheetEntries entries;
    entries.m_strName = name;
    entries.m_keywordEntries = {QStringLiteral("include:apple")};
    entries.m_engines = {QStringLiteral("AltaVista")};

    RecordingPrompt prompt;
    prompt.answer = true;
    CQuerySheetValidator validator(*m_doc, prompt);
    QVERIFY(validator.ValidateQuerySheet(entries));
    QCOMPARE(prompt.questions, QStringList{kOverwrite});
    QVERIFY(prompt.messages.isEmpty());
    QCOMPARE(m_doc->OverwriteQID, m_nStoredQid);
}

void TestQuerySheetValidator::overwriteDeclinedRefusesSilently()
{
    CQuerySheetEntries entries;
    entries.m_strName = QStringLiteral(" Fruit ");
    entries.m_engines = {QStringLiteral("AltaVista")};
    RecordingPrompt prompt;
    CQuerySheetValidator validator(*m_doc, prompt);
    QVERIFY(!validator.ValidateQuerySheet(entries));
    QCOMPARE(prompt.questions, QStringList{kOverwrite});
    QVERIFY(prompt.messages.isEmpty());
    QVERIFY(validator.RefusalMessage().isEmpty());
    QCOMPARE(m_doc->OverwriteQID, -1);
}

void TestQuerySheetValidator::laterRuleKeepsOverwriteUnset()
{
    // "Yes" to the question, then a later rule refuses: nothing is marked for overwriting.
    CQuerySheetEntries entries;
    entries.m_strName = QStringLiteral("Fruit");
    RecordingPrompt prompt;
    prompt.answer = true;
    CQuerySheetValidator validator(*m_doc, prompt);
    QVERIFY(!validator.ValidateQuerySheet(entries));
    QCOMPARE(prompt.messages, QStringList{QStringLiteral("Error!  No Search engine selected.")});
    QCOMPARE(m_doc->OverwriteQID, -1);
}

QTEST_GUILESS_MAIN(TestQuerySheetValidator)
#include "tst_query_sheet_validator.moc"
