// The query sheet: what each page accepts and refuses, the entries it keeps, how it shows a
// stored query, View Source, and the commit with its refusals.
#include "FrameTestSupport.h"

#include "TrawlexIds.h"
#include "query/CQuerySheetEntries.h"
#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "retrieval/EngineRegistry.h"
#include "run/CQueryCommands.h"
#include "run/CRunMonitor.h"
#include "sheet/CQualifierButtons.h"
#include "sheet/CTrawlexPropertyPageFilters.h"
#include "sheet/CTrawlexPropertyPageGroups.h"
#include "sheet/CTrawlexPropertyPageKeywords.h"
#include "sheet/CTrawlexPropertyPageName.h"
#include "sheet/CTrawlexPropertyPageWhere.h"
#include "sheet/CTrawlexPropertySheetQuery.h"
#include "store/CTrawlexDatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QScopeGuard>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

using namespace TrawlexIds;

namespace {

QStringList listTexts(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QStringList comboTexts(const QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

void selectRow(QListWidget *list, const QString &text)
{
    const auto items = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!items.isEmpty(), qPrintable(text));
    list->setCurrentItem(items.first());
}

// Plays a list of user steps on the sheet, "op:argument" each, as the tests describe them.
void play(CTrawlexPropertySheetQuery &sheet, const QStringList &steps)
{
    CTrawlexPropertyPageKeywords &kw = sheet.keywordsPage();
    CTrawlexPropertyPageGroups &gr = sheet.groupsPage();
    CTrawlexPropertyPageFilters &fi = sheet.filtersPage();
    for (const QString &step : steps) {
        const qsizetype colon = step.indexOf(QLatin1Char(':'));
        const QString op = colon < 0 ? step : step.left(colon);
        const QString arg = colon < 0 ? QString() : step.mid(colon + 1);
        if (op == QLatin1String("kw")) kw.keywordEdit()->setText(arg);
        else if (op == QLatin1String("kwq")) kw.qualifierButtons()->button(arg.toInt())->setChecked(true);
        else if (op == QLatin1String("kwadd")) kw.addButton()->click();
        else if (op == QLatin1String("kwsel")) selectRow(kw.keywordList(), arg);
        else if (op == QLatin1String("kwdel")) kw.removeButton()->click();
        else if (op == QLatin1String("group")) gr.groupCombo()->setEditText(arg);
        else if (op == QLatin1String("groupq")) gr.groupQualifierButtons()->button(arg.toInt())->setChecked(true);
        else if (op == QLatin1String("groupadd")) gr.addGroupButton()->click();
        else if (op == QLatin1String("groupsel")) {
            const int index = gr.groupCombo()->findText(arg);
            QVERIFY2(index >= 0, qPrintable(arg));
            gr.groupCombo()->setCurrentIndex(index);
            emit gr.groupCombo()->activated(index);
        } else if (op == QLatin1String("groupdel")) gr.removeGroupButton()->click();
        else if (op == QLatin1String("mem")) gr.memberEdit()->setText(arg);
        else if (op == QLatin1String("memq")) gr.memberQualifierButtons()->button(arg.toInt())->setChecked(true);
        else if (op == QLatin1String("memadd")) gr.addMemberButton()->click();
        else if (op == QLatin1String("memsel")) selectRow(gr.memberList(), arg);
        else if (op == QLatin1String("memdel")) gr.removeMemberButton()->click();
        else if (op == QLatin1String("type")) {
            const int index = fi.typeCombo()->findText(arg);
            QVERIFY2(index >= 0, qPrintable(arg));
            fi.typeCombo()->setCurrentIndex(index);
            emit fi.typeCombo()->activated(index);
        } else if (op == QLatin1String("fil")) fi.keywordEdit()->setText(arg);
        else if (op == QLatin1String("filq")) fi.qualifierButtons()->button(arg.toInt())->setChecked(true);
        else if (op == QLatin1String("filadd")) fi.addButton()->click();
        else if (op == QLatin1String("filsel")) selectRow(fi.keywordList(), arg);
        else if (op == QLatin1String("fildel")) fi.removeButton()->click();
        else if (op == QLatin1String("name")) sheet.namePage().nameEdit()->setText(arg);
        else if (op == QLatin1String("engine")) sheet.wherePage().checkBox(arg)->setChecked(true);
        else QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }
}

} // namespace

class TestSheet final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void typedCharacters_data();
    void typedCharacters();
    void pageSteps_data();
    void pageSteps();
    void removingGroupCutsItsName();
    void newSheetIsEmpty();
    void showsStoredQuery();
    void whereListsAddedEnginesAfterTheBuiltIns();
    void viewSourceShowsBooleanText();
    void commitRefusals_data();
    void commitRefusals();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void databaseErrorKeepsSheetOpen();
    void pastedTextIsKeptAndLayoutHolds();

private:
    std::unique_ptr<FrameTest::Store> m_store;
    std::unique_ptr<CRunMonitor> m_monitor;
    std::unique_ptr<CQueryCommands> m_commands;
    std::unique_ptr<CTrawlexPropertySheetQuery> m_sheet;
};

void TestSheet::init()
{
    m_store = std::make_unique<FrameTest::Store>();
    QVERIFY(m_store->open());
    CTrawlexDoc &doc = m_store->doc;
    m_monitor = std::make_unique<CRunMonitor>(doc, doc.Query(), doc.ResultsSet(), m_store->prompt);
    m_sheet = std::make_unique<CTrawlexPropertySheetQuery>();
    m_sheet->setUserPrompt(&m_store->prompt);
    m_commands = std::make_unique<CQueryCommands>(doc, m_store->prompt);
    m_commands->setRunMonitor(m_monitor.get());
    m_sheet->setCommands(m_commands.get());
    m_sheet->FillFromQuery(CTrawlexQuery());
    m_sheet->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_sheet.get()));
}

void TestSheet::cleanup()
{
    m_sheet.reset();
    m_commands.reset();
    m_monitor.reset();
    m_store.reset();
}

void TestSheet::typedCharacters_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");

    // Names refuse the apostrophe too; keywords, groups and filters take it.
    QTest::newRow("name") << 0 << "a(b)c'd\"e" << "abcde";
    QTest::newRow("keyword") << 1 << "a(b)c'd\"e" << "abc'de";
    QTest::newRow("group name") << 2 << "g(1)'\"" << "g1'";
    QTest::newRow("member") << 3 << "m(1)'\"" << "m1'";
    QTest::newRow("filter keyword") << 4 << "f(1)'\"" << "f1'";
}

void TestSheet::typedCharacters()
{
    QFETCH(int, page);
    QFETCH(QString, typed);
    QFETCH(QString, kept);

    QWidget *field = nullptr;
    QLineEdit *edit = nullptr;
    switch (page) {
    case 0: m_sheet->tabs()->setCurrentIndex(0); edit = m_sheet->namePage().nameEdit(); break;
    case 1: m_sheet->tabs()->setCurrentIndex(1); edit = m_sheet->keywordsPage().keywordEdit(); break;
    case 2: m_sheet->tabs()->setCurrentIndex(2); edit = m_sheet->groupsPage().groupCombo()->lineEdit(); break;
    case 3: m_sheet->tabs()->setCurrentIndex(2); edit = m_sheet->groupsPage().memberEdit(); break;
    case 4: m_sheet->tabs()->setCurrentIndex(3); edit = m_sheet->filtersPage().keywordEdit(); break;
    }
    QVERIFY(edit);
    field = edit;
    field->setFocus();
    QTest::keyClicks(field, typed);
    QCOMPARE(edit->text(), kept);
}

void TestSheet::pageSteps_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("entries"); // all hidden lists, in page order, joined
    QTest::addColumn<QStringList>("shown");   // the page's visible list

    const QStringList none;
    // Keywords.
    QTest::newRow("keyword added with its qualifier, list sorted")
        << QStringList{"kw:pie", "kwq:1", "kwadd", "kw:Apple", "kwadd"} << none
        << QStringList{"exclude:pie", "include:Apple"} << QStringList{"Apple", "pie"};
    QTest::newRow("empty keyword") << QStringList{"kwadd"} << QStringList{"Keywords contents empty!"} << none << none;
    QTest::newRow("duplicate keyword ignores case")
        << QStringList{"kw:apple", "kwadd", "kw:Apple", "kwq:2", "kwadd"} << QStringList{"Keyword already exists!"}
        << QStringList{"include:apple"} << QStringList{"apple"};
    QTest::newRow("remove without selection, edit empty")
        << QStringList{"kw:apple", "kwadd", "kwdel"} << QStringList{"Must set Active Keyword First!"}
        << QStringList{"include:apple"} << QStringList{"apple"};
    QTest::newRow("remove without selection, text typed")
        << QStringList{"kw:apple", "kwadd", "kw:pear", "kwdel"} << QStringList{"Must add Active Keyword First!"}
        << QStringList{"include:apple"} << QStringList{"apple"};
    QTest::newRow("remove selected keyword")
        << QStringList{"kw:apple", "kwadd", "kw:pear", "kwq:2", "kwadd", "kwsel:apple", "kwdel"} << none
        << QStringList{"optional:pear"} << QStringList{"pear"};
    // Groups.
    QTest::newRow("group and members")
        << QStringList{"group:fruit", "groupq:1", "groupadd", "mem:pear", "memadd", "mem:plum", "memq:2", "memadd"} << none
        << QStringList{"exclude:fruit", "fruit:include:pear", "fruit:optional:plum"} << QStringList{"pear", "plum"};
    QTest::newRow("empty group name does nothing") << QStringList{"groupadd"} << none << none << none;
    QTest::newRow("duplicate group name ignores case")
        << QStringList{"group:fruit", "groupadd", "group:FRUIT", "groupadd"} << QStringList{"Group name already exists!"}
        << QStringList{"include:fruit"} << none;
    QTest::newRow("member without group, nothing typed")
        << QStringList{"mem:pear", "memadd"} << QStringList{"Must set Active Group First!"} << none << none;
    QTest::newRow("member with a typed group not added")
        << QStringList{"group:fruit", "mem:pear", "memadd"} << QStringList{"Must add Active Group First!"} << none << none;
    QTest::newRow("empty member") << QStringList{"group:fruit", "groupadd", "memadd"}
                                  << QStringList{"Keywords contents empty!"} << QStringList{"include:fruit"} << none;
    QTest::newRow("duplicate member in its group")
        << QStringList{"group:fruit", "groupadd", "mem:pear", "memadd", "mem:pear", "memadd"}
        << QStringList{"Group and Keyword combination already exist!"}
        << QStringList{"include:fruit", "fruit:include:pear"} << QStringList{"pear"};
    QTest::newRow("same member in two groups")
        << QStringList{"group:fruit", "groupadd", "mem:pear", "memadd", "group:tree", "groupadd", "mem:pear", "memadd"} << none
        << QStringList{"include:fruit", "include:tree", "fruit:include:pear", "tree:include:pear"} << QStringList{"pear"};
    QTest::newRow("removing a group takes all its members")
        << QStringList{"group:fruit", "groupadd", "mem:pear", "memadd", "mem:plum", "memadd", "group:tree", "groupadd",
                       "mem:oak", "memadd", "groupsel:fruit", "groupdel"} << none
        << QStringList{"include:tree", "tree:include:oak"} << none;
    QTest::newRow("remove member of the selected group")
        << QStringList{"group:fruit", "groupadd", "mem:pear", "memadd", "mem:plum", "memadd", "memsel:pear", "memdel"} << none
        << QStringList{"include:fruit", "fruit:include:plum"} << QStringList{"plum"};
    QTest::newRow("remove member without selection")
        << QStringList{"group:fruit", "groupadd", "mem:pear", "memadd", "memdel"} << QStringList{"Must set Active Keyword First!"}
        << QStringList{"include:fruit", "fruit:include:pear"} << QStringList{"pear"};
    QTest::newRow("remove group without selection")
        << QStringList{"group:fruit", "groupdel"} << QStringList{"Must add Active Group First!"} << none << none;
    QTest::newRow("choosing a group lists only its members")
        << QStringList{"group:fruit", "groupadd", "mem:pear", "memadd", "group:tree", "groupadd", "mem:oak", "memadd",
                       "groupsel:fruit"} << none
        << QStringList{"include:fruit", "include:tree", "fruit:include:pear", "tree:include:oak"} << QStringList{"pear"};
    // Filters.
    QTest::newRow("same keyword under two types, list shows the type chosen")
        << QStringList{"type:Title", "fil:apple", "filadd", "type:URL", "fil:apple", "filq:1", "filadd", "fil:zed", "filadd",
                       "type:Title"} << none
        << QStringList{"Title:include:apple", "URL:exclude:apple", "URL:include:zed"} << QStringList{"apple"};
    QTest::newRow("duplicate filter of one type")
        << QStringList{"type:URL", "fil:spam", "filadd", "fil:spam", "filadd"}
        << QStringList{"Filter and Keyword combination already exist!"} << QStringList{"URL:include:spam"} << QStringList{"spam"};
    QTest::newRow("empty filter keyword") << QStringList{"filadd"} << QStringList{"Keywords contents empty!"} << none << none;
    QTest::newRow("remove filter")
        << QStringList{"fil:a", "filadd", "fil:b", "filadd", "filsel:a", "fildel"} << none
        << QStringList{"Link:include:b"} << QStringList{"b"};
    QTest::newRow("remove filter without selection")
        << QStringList{"fil:a", "filadd", "fil:x", "fildel"} << QStringList{"Must add Active Keyword First!"}
        << QStringList{"Link:include:a"} << QStringList{"a"};
}

void TestSheet::pageSteps()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, shown);

    play(*m_sheet, steps);
    QCOMPARE(m_store->prompt.messages, messages);
    const QString first = steps.first();
    QStringList kept;
    QStringList visible;
    if (first.startsWith(QLatin1String("kw"))) {
        kept = m_sheet->keywordsPage().keywordEntries();
        visible = listTexts(m_sheet->keywordsPage().keywordList());
    } else if (first.startsWith(QLatin1String("group")) || first.startsWith(QLatin1String("mem"))) {
        kept = m_sheet->groupsPage().groupEntries() + m_sheet->groupsPage().memberEntries();
        visible = listTexts(m_sheet->groupsPage().memberList());
    } else {
        kept = m_sheet->filtersPage().filterEntries();
        visible = listTexts(m_sheet->filtersPage().keywordList());
    }
    QCOMPARE(kept, entries);
    QCOMPARE(visible, shown);
    // Every add and remove sets the choice back to Include.
    if (first.startsWith(QLatin1String("kw")))
        QCOMPARE(m_sheet->keywordsPage().qualifierChoice(), 0);
}

void TestSheet::removingGroupCutsItsName()
{
    play(*m_sheet, {"group:zebra", "groupadd", "group:apple", "groupadd", "groupsel:zebra"});
    QCOMPARE(comboTexts(m_sheet->groupsPage().groupCombo()), (QStringList{"apple", "zebra"}));
    QApplication::clipboard()->clear();
    play(*m_sheet, {"groupdel"});
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("zebra"));
    QCOMPARE(comboTexts(m_sheet->groupsPage().groupCombo()), QStringList{"apple"});
    QCOMPARE(m_sheet->groupsPage().groupEntries(), QStringList{"include:apple"});
    QCOMPARE(m_sheet->groupsPage().selectedGroup(), -1);
}

void TestSheet::newSheetIsEmpty()
{
    play(*m_sheet, {"name:x", "kw:a", "kwq:1", "kwadd", "group:g", "groupadd", "fil:f", "filadd", "engine:Yahoo"});
    m_sheet->ResetPages();
    m_sheet->FillFromQuery(CTrawlexQuery());
    QVERIFY(m_sheet->namePage().nameEdit()->text().isEmpty());
    QCOMPARE(m_sheet->Entries().m_keywordEntries, QStringList());
    QCOMPARE(m_sheet->Entries().m_groupEntries, QStringList());
    QCOMPARE(m_sheet->Entries().m_filterEntries, QStringList());
    QCOMPARE(m_sheet->Entries().m_engines, QStringList());
    QCOMPARE(m_sheet->groupsPage().groupCombo()->count(), 0);
    QCOMPARE(m_sheet->filtersPage().typeCombo()->currentText(), QStringLiteral("Link"));
    QCOMPARE(comboTexts(m_sheet->filtersPage().typeCombo()), (QStringList{"Link", "Title", "URL"}));
    for (CQualifierButtons *buttons : {m_sheet->keywordsPage().qualifierButtons(),
                                       m_sheet->groupsPage().groupQualifierButtons(),
                                       m_sheet->groupsPage().memberQualifierButtons(),
                                       m_sheet->filtersPage().qualifierButtons()}) {
        QVERIFY(buttons->button(0)->isChecked());
        QVERIFY(!buttons->button(1)->isChecked());
    }
    QCOMPARE(m_sheet->tabs()->currentIndex(), 0);
}

void TestSheet::showsStoredQuery()
{
    CTrawlexQuery query;
    query.m_strName = QStringLiteral("fruit salad");
    query.m_keywords = {{QStringLiteral("pie"), QStringLiteral("exclude")}, {QStringLiteral("apple"), QStringLiteral("include")}};
    CTrawlexGroup zebra;
    zebra.m_strName = QStringLiteral("zebra");
    zebra.m_strQualifier = QStringLiteral("include");
    zebra.m_members = {{QStringLiteral("stripes"), QStringLiteral("include")}};
    CTrawlexGroup apple;
    apple.m_strName = QStringLiteral("apple");
    apple.m_strQualifier = QStringLiteral("optional");
    apple.m_members = {{QStringLiteral("core"), QStringLiteral("exclude")}, {QStringLiteral("seed"), QStringLiteral("include")}};
    query.m_groups = {zebra, apple};
    CTrawlexFilter link;
    link.m_strType = QStringLiteral("Link");
    link.m_strQualifier = QStringLiteral("include");
    link.m_strKeyword = QStringLiteral("orchard");
    CTrawlexFilter title = link;
    title.m_strType = QStringLiteral("Title");
    title.m_strKeyword = QStringLiteral("recipe");
    query.m_filters = {link, title};
    query.m_engines = {QStringLiteral("Excite"), QStringLiteral("Yahoo")};

    m_sheet->FillFromQuery(query);
    QCOMPARE(m_sheet->namePage().nameEdit()->text(), query.m_strName);
    QCOMPARE(listTexts(m_sheet->keywordsPage().keywordList()), (QStringList{"apple", "pie"}));
    // Groups added zebra then apple: the sorted combo selects apple and shows its members.
    CTrawlexPropertyPageGroups &groups = m_sheet->groupsPage();
    QCOMPARE(groups.groupCombo()->currentText(), QStringLiteral("apple"));
    QCOMPARE(groups.selectedGroup(), 0);
    QCOMPARE(listTexts(groups.memberList()), (QStringList{"core", "seed"}));
    QVERIFY(groups.groupQualifierButtons()->button(2)->isChecked());
    QCOMPARE(listTexts(m_sheet->filtersPage().keywordList()), QStringList{"orchard"});
    QVERIFY(m_sheet->wherePage().checkBox(QStringLiteral("Excite"))->isChecked());
    QVERIFY(m_sheet->wherePage().checkBox(QStringLiteral("Yahoo"))->isChecked());
    QVERIFY(!m_sheet->wherePage().checkBox(QStringLiteral("AltaVista"))->isChecked());

    // The entries read back make the same query.
    CTrawlexQuery back;
    m_sheet->Entries().FillQuery(back);
    QCOMPARE(back.GetBooleanText(), query.GetBooleanText());

    // Choosing a keyword shows its qualifier.
    selectRow(m_sheet->keywordsPage().keywordList(), QStringLiteral("pie"));
    QVERIFY(m_sheet->keywordsPage().qualifierButtons()->button(1)->isChecked());
}

void TestSheet::whereListsAddedEnginesAfterTheBuiltIns()
{
    EngineDescriptor feeds;
    feeds.name = QStringLiteral("News & Feeds");
    QVERIFY(EngineRegistry::instance().add(feeds));
    const auto removeAgain = qScopeGuard([] { EngineRegistry::instance().remove(QStringLiteral("News & Feeds")); });

    CTrawlexPropertyPageWhere page;
    page.show();
    QCOMPARE(page.engineNames().size(), 11);
    QCOMPARE(page.engineNames().last(), QStringLiteral("News & Feeds"));
    QCheckBox *box = page.checkBox(QStringLiteral("News & Feeds"));
    QVERIFY(box && box->isVisible());
    QCOMPARE(box->text(), QStringLiteral("News && Feeds")); // a letter, not a shortcut
    QVERIFY(!page.checkBox(QStringLiteral("Worm"))->isVisible());
    QCOMPARE(page.checkBox(QStringLiteral("Yahoo"))->objectName(), QString::number(TrawlexIds::IDC_WHERE_YAHOO));

    box->setChecked(true);
    page.setSelected(QStringLiteral("Excite"), true);
    QCOMPARE(page.selectedEngines(), (QStringList{"Excite", "News & Feeds"}));
}

void TestSheet::viewSourceShowsBooleanText()
{
    play(*m_sheet, {"kw:pie", "kwq:1", "kwadd", "kw:apple", "kwadd", "kw:green tea", "kwq:2", "kwadd"});
    QString shown;
    connect(m_sheet.get(), &CTrawlexPropertySheetQuery::viewSourceShown, this, [&shown](QDialog *dialog) {
        auto *edit = dialog->findChild<QPlainTextEdit *>(QString::number(IDC_VIEW_SOURCE_TEXT));
        QVERIFY(edit);
        QVERIFY(edit->isReadOnly());
        QCOMPARE(edit->palette().color(QPalette::Base), QColor(Qt::white));
        shown = edit->toPlainText();
        QMetaObject::invokeMethod(dialog, &QDialog::accept, Qt::QueuedConnection);
    });
    m_sheet->namePage().viewSourceButton()->click();
    QCOMPARE(shown, QStringLiteral("apple not pie or \"green tea\" \n"));
}

void TestSheet::commitRefusals_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("message"); // empty: committed

    QTest::newRow("no name") << QStringList{"engine:Excite"} << "Error!  Missing name of query.";
    QTest::newRow("no engine") << QStringList{"name:q"} << "Error!  No Search engine selected.";
    QTest::newRow("no included keyword")
        << QStringList{"name:q", "engine:Excite", "kw:a", "kwq:1", "kwadd"}
        << "Error!  At least one keyword must be included in search to be meaningful.";
    QTest::newRow("exclusion with InfoSeek, even beside AltaVista")
        << QStringList{"name:q", "engine:AltaVista", "engine:InfoSeek", "kw:a", "kwadd", "kw:b", "kwq:1", "kwadd"}
        << "Error!  Excluding keywods or filters is not valid on InfoSeek search engine.";
    QTest::newRow("empty group before the keyword rule")
        << QStringList{"name:q", "engine:Excite", "group:g", "groupadd"} << "Error!  Empty Group.";
    QTest::newRow("groups without keywords")
        << QStringList{"name:q", "engine:Excite", "group:g", "groupadd", "mem:m", "memadd"}
        << "Error!  At least one keyword must be present when querying with groups.";
    QTest::newRow("nothing but a name and an engine") << QStringList{"name:q", "engine:Excite"} << QString();
    QTest::newRow("keywords and an engine") << QStringList{"name:q", "engine:Lycos", "kw:apple", "kwadd"} << QString();
}

void TestSheet::commitRefusals()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, message);

    play(*m_sheet, steps);
    const QStringList entriesBefore = m_sheet->Entries().m_keywordEntries;
    m_sheet->buttons()->button(QDialogButtonBox::Ok)->click();
    CTrawlexDoc &doc = m_store->doc;
    if (message.isEmpty()) {
        QVERIFY(m_store->prompt.messages.isEmpty());
        QVERIFY(!m_sheet->isVisible());
        QCOMPARE(m_sheet->result(), int(QDialog::Accepted));
        QCOMPARE(doc.Query().m_strName, QStringLiteral("q"));
        QVERIFY(doc.ResultsSet().IsRunning());
    } else {
        // One message, the sheet stays open with everything in it, the query is untouched.
        QCOMPARE(m_store->prompt.messages, QStringList{message});
        QVERIFY(m_sheet->isVisible());
        QCOMPARE(m_sheet->Entries().m_keywordEntries, entriesBefore);
        QVERIFY(doc.Query().m_strName.isEmpty());
        QVERIFY(!doc.ResultsSet().IsRunning());
    }
}

void TestSheet::overwriteQuestion_data()
{
    QTest::addColumn<QString>("typedName");
    QTest::addColumn<bool>("answer");

    QTest::newRow("same name, no") << "Apples" << false;
    QTest::newRow("same name, yes") << "Apples" << true;
    QTest::newRow("other case and blanks, yes") << "  apples " << true;
}

void TestSheet::overwriteQuestion()
{
    QFETCH(QString, typedName);
    QFETCH(bool, answer);

    const int qid = m_store->addQuery(QStringLiteral("Apples"), {QStringLiteral("apple")});
    m_store->prompt.answer = answer;
    // The name is pasted, so the blanks get in.
    m_sheet->namePage().nameEdit()->setText(typedName);
    play(*m_sheet, {"engine:Excite"});
    m_sheet->buttons()->button(QDialogButtonBox::Ok)->click();

    QCOMPARE(m_store->prompt.questions, QStringList{"Error!  Query name already exists.  Overwrite?"});
    QVERIFY(m_store->prompt.messages.isEmpty());
    QCOMPARE(m_sheet->isVisible(), !answer);
    QCOMPARE(m_store->doc.OverwriteQID, answer ? qid : -1);
    if (answer)
        QCOMPARE(m_store->doc.Query().m_strName, typedName.trimmed());
}

void TestSheet::databaseErrorKeepsSheetOpen()
{
    m_store->doc.Database().run(QStringLiteral("ALTER TABLE [Main Query] RENAME TO [Gone]"), {}, QStringLiteral("test"));
    play(*m_sheet, {"name:q", "engine:Excite", "kw:apple", "kwadd"});
    m_sheet->buttons()->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(m_store->prompt.messages.size(), 1);
    QVERIFY2(m_store->prompt.messages.first().startsWith(QLatin1String("DAO error ")), qPrintable(m_store->prompt.messages.first()));
    QVERIFY(m_sheet->isVisible());
    QVERIFY(m_store->doc.Query().m_strName.isEmpty());
    QCOMPARE(m_sheet->Entries().m_keywordEntries, QStringList{"include:apple"});
}

void TestSheet::pastedTextIsKeptAndLayoutHolds()
{
    const QSize before = m_sheet->size();
    const QString odd = QStringLiteral("O'Brien's \"best\" (1997) ") + QString::fromUtf8("Ærøskøbing – 東京 ");
    const QString longText = QString(3000, QLatin1Char('w'));
    // Pasted text is not filtered by the typed-character rule.
    m_sheet->namePage().nameEdit()->setText(odd);
    play(*m_sheet, {QStringLiteral("kw:") + odd, "kwadd", QStringLiteral("kw:") + longText, "kwadd", "group:" + odd, "groupadd",
                    "mem:" + longText, "memadd", "fil:" + odd, "filadd", "engine:AltaVista"});
    QVERIFY(m_store->prompt.messages.isEmpty());
    QApplication::processEvents();
    // Long entries scroll inside their lists; the sheet does not grow off the screen.
    QVERIFY2(m_sheet->sizeHint().width() < 900, qPrintable(QString::number(m_sheet->sizeHint().width())));
    QCOMPARE(m_sheet->size(), before);

    m_sheet->buttons()->button(QDialogButtonBox::Ok)->click();
    QVERIFY2(m_store->prompt.messages.isEmpty(), qPrintable(m_store->prompt.messages.join(QLatin1Char('|'))));
    const CTrawlexQuery &query = m_store->doc.Query();
    QCOMPARE(query.m_strName, odd.trimmed());
    QCOMPARE(query.m_keywords.size(), 2);
    QCOMPARE(query.m_keywords.at(0).m_strKeyword, odd);
    QCOMPARE(query.m_keywords.at(1).m_strKeyword, longText);
    QCOMPARE(query.m_groups.size(), 1);
    QCOMPARE(query.m_groups.at(0).m_members.at(0).m_strKeyword, longText);
}

QTEST_MAIN(TestSheet)
#include "tst_sheet.moc"
