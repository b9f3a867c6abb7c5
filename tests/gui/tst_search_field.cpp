// The toolbar's search field: its keys, a run from Enter on the engine simulator, what is
// stored and what the sheet shows afterwards, the engines it asks, and the texts it refuses.
#include "FrameTestSupport.h"
#include "PrefsModalDriver.h"
#include "RunEngineSim.h"
#include "TestPaths.h"

#include "TrawlexIds.h"
#include "dialogs/CPreferencesDlg.h"
#include "dialogs/CSettingsCommands.h"
#include "frame/CMainFrame.h"
#include "frame/CTrawlexToolBar.h"
#include "query/CQuerySheetEntries.h"
#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "run/CRunMonitor.h"
#include "run/CSearchFieldCommit.h"
#include "sheet/CTrawlexPropertySheetQuery.h"
#include "store/CMainQueryTable.h"
#include "store/CStoredQueryDefinition.h"
#include "views/CTrawlexQueryView.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace TrawlexIds;

class TestSearchField final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fieldAndKeys();
    void enterRunsAndStores();
    void refusedTexts_data();
    void refusedTexts();
    void nameOfAStoredQuery_data();
    void nameOfAStoredQuery();
    void enginesFollowLastRunUntilChosen();
    void preferencesChooseEngines();
    void screenshot();

private:
    RunEngineSim m_sim;
};

void TestSearchField::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_sim.start());
    QVERIFY(QDir().mkpath(TestPaths::binaryDir() + QStringLiteral("/screenshots")));
}

void TestSearchField::fieldAndKeys()
{
    FrameTest::Store store;
    QVERIFY(store.open());
    CRunMonitor monitor(store.doc, store.prompt);
    CMainFrame frame(store.doc, *store.settings, monitor, store.prompt);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCoreApplication::sendPostedEvents();

    QLineEdit *field = frame.toolBar()->searchField();
    QVERIFY(field);
    QCOMPARE(field->placeholderText(), QStringLiteral("Search the web"));
    QVERIFY(field->isClearButtonEnabled());
    QCOMPARE(field->accessibleName(), QStringLiteral("Search the web"));

    // No other command of the window answers to the field's keys.
    const QList<QKeySequence> keys{QKeySequence(Qt::CTRL | Qt::Key_L), QKeySequence(Qt::CTRL | Qt::Key_K)};
    for (QAction *a : frame.findChildren<QAction *>()) {
        if (a->objectName() == QLatin1String("focusSearchField"))
            continue;
        for (const QKeySequence &key : keys)
            QVERIFY2(!a->shortcuts().contains(key), qPrintable(a->text()));
    }

    for (const QKeySequence &key : keys) {
        frame.queryView()->setFocus();
        QTRY_VERIFY(frame.queryView()->hasFocus());
        field->setText(QStringLiteral("earlier words"));
        QTest::keySequence(&frame, key);
        QTRY_VERIFY2(field->hasFocus(), qPrintable(key.toString()));
        // Typing replaces what was there, as in a browser's address bar.
        QCOMPARE(field->selectedText(), QStringLiteral("earlier words"));
    }

    // Enter on an empty field does nothing and says nothing.
    field->clear();
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY(!monitor.IsRunning());
    QVERIFY(store.prompt.messages.isEmpty());
}

void TestSearchField::enterRunsAndStores()
{
    QTemporaryDir dir;
    const QString dbPath = dir.filePath(QStringLiteral("tx.mdb"));
    QVERIFY(m_sim.createDatabase(dbPath));
    FrameTest::Store store;
    QVERIFY(store.open(dbPath));
    CTrawlexDoc &doc = store.doc;
    doc.LoadEngineAddressList();
    store.settings->SearchEngines = {QStringLiteral("AltaVista"), QStringLiteral("HotBot")};
    store.settings->SearchEnginesChosen = true;
    for (int i = 0; i < 20; ++i)
        store.addQuery(QStringLiteral("stored %1").arg(i), {QStringLiteral("older")});

    CRunMonitor monitor(doc, doc.Query(), doc.ResultsSet(), store.prompt);
    CMainFrame frame(doc, *store.settings, monitor, store.prompt);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCoreApplication::sendPostedEvents();

    QLineEdit *field = frame.toolBar()->searchField();
    const QString text = QStringLiteral("travel \"links to other\" -cruise intitle:guide -site:spam.example");
    // Longer than a name may be: the name is cut at a blank.
    const QString name = QStringLiteral("travel \"links to other\" -cruise intitle:guide...");
    QSignalSpy started(&monitor, &CRunMonitor::runStarted);
    QSignalSpy finished(&monitor, &CRunMonitor::runFinished);
    QTest::keySequence(&frame, QKeySequence(Qt::CTRL | Qt::Key_L));
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(started.size(), 1);
    QVERIFY2(store.prompt.messages.isEmpty(), qPrintable(store.prompt.messages.join(QLatin1Char('|'))));
    QVERIFY(store.prompt.questions.isEmpty());

    // While it runs: the field is off as New Query is.
    QTRY_VERIFY(!field->isEnabled());
    QVERIFY(!frame.action(ID_FILE_NEW)->isEnabled());
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(started.size(), 1);

    QVERIFY(finished.wait(60000));
    QCOMPARE(finished.first().first().value<CRunMonitor::Outcome>(), CRunMonitor::Outcome::Completed);
    QCOMPARE(store.prompt.messages, QStringList{"Query Retrieval completed!"});
    QTRY_VERIFY(field->isEnabled());
    QVERIFY(doc.ResultsSet().HitCount() > 0);

    // Stored under the text, with what the text asked for.
    const int qid = doc.MainQueries().maxQid();
    QCOMPARE(doc.MainQueries().queryName(qid), name);
    QCOMPARE(frame.GetSelectedQueryId(), qid);
    CTrawlexQuery stored;
    CStoredQueryDefinition(doc.Database()).load(qid, stored);
    const CQuerySheetEntries entries = CQuerySheetEntries::FromQuery(stored);
    QCOMPARE(entries.m_keywordEntries, (QStringList{"include:travel", "include:links to other", "exclude:cruise"}));
    QCOMPARE(entries.m_filterEntries, (QStringList{"Title:include:guide", "URL:exclude:spam.example"}));
    QCOMPARE(stored.m_engines, (QStringList{"AltaVista", "HotBot"}));

    // Open Query shows the query the field made.
    CQuerySheetEntries shown;
    QTimer::singleShot(0, this, [&] {
        shown = frame.querySheet().Entries();
        frame.querySheet().reject();
    });
    frame.action(ID_FILE_OPEN)->trigger();
    QCOMPARE(shown.m_strName, name);
    QCOMPARE(shown.m_keywordEntries, entries.m_keywordEntries);
    QCOMPARE(shown.m_filterEntries, entries.m_filterEntries);
    QCOMPARE(shown.m_engines, stored.m_engines);

    // The same text again runs again and replaces the stored query, without a question.
    store.prompt.clear();
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(started.size(), 2);
    QVERIFY(finished.wait(60000));
    QVERIFY(store.prompt.questions.isEmpty());
    QCOMPARE(doc.MainQueries().countByName(name), 1);
    QVERIFY(doc.MainQueries().qidsByName(name).first() > qid);
    QCOMPARE(doc.MainQueries().allQueries().size(), 21);
}

void TestSearchField::refusedTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("engines");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("noted");

    const QStringList altaVista{"AltaVista"};
    QTest::newRow("only excluded") << "-cruise" << altaVista
                                   << "Error!  At least one keyword must be included in search to be meaningful."
                                   << false;
    QTest::newRow("exclusion on InfoSeek") << "travel -cruise" << QStringList{"AltaVista", "InfoSeek"}
                                           << "Error!  Excluding keywods or filters is not valid on InfoSeek search engine."
                                           << false;
    QTest::newRow("filter on an engine without filters") << "travel site:example.com" << QStringList{"Excite", "Lycos"}
        << "Error!  The following search engines do not allow filters:  Excite, Lycos" << false;
    QTest::newRow("an operator alone") << "OR" << altaVista << "Error!  Nothing to search for.  \"OR\" needs a plain word "
                                                               "on each side; where it had none it was left out." << true;
    QTest::newRow("a minus alone") << " - " << altaVista
                                   << "Error!  Nothing to search for.  A \"-\" with no word after it was left out." << true;
}

void TestSearchField::refusedTexts()
{
    QFETCH(QString, text);
    QFETCH(QStringList, engines);
    QFETCH(QString, message);
    QFETCH(bool, noted);

    FrameTest::Store store;
    QVERIFY(store.open());
    store.settings->SearchEngines = engines;
    store.settings->SearchEnginesChosen = true;
    CTrawlexDoc &doc = store.doc;
    doc.Query().m_strName = QStringLiteral("on show");
    CRunMonitor monitor(doc, store.prompt);
    CMainFrame frame(doc, *store.settings, monitor, store.prompt);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCoreApplication::sendPostedEvents();

    QSignalSpy started(&monitor, &CRunMonitor::runStarted);
    QLineEdit *field = frame.toolBar()->searchField();
    field->setText(text);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(store.prompt.messages, QStringList{message});
    QCOMPARE(started.size(), 0);
    // Nothing changed: the query on show, the commands, the text to correct.
    QCOMPARE(doc.Query().m_strName, QStringLiteral("on show"));
    QVERIFY(!doc.ResultsSet().IsRunning());
    QVERIFY(frame.action(ID_FILE_NEW)->isEnabled());
    QVERIFY(field->isEnabled());
    QCOMPARE(field->text(), text);
    QCOMPARE(frame.toolBar()->searchNotesMark()->isVisible(), noted);
    QCOMPARE(doc.MainQueries().maxQid(), -1);
}

void TestSearchField::nameOfAStoredQuery_data()
{
    QTest::addColumn<QStringList>("storedNames");
    QTest::addColumn<QList<QStringList>>("storedKeywords");
    QTest::addColumn<QString>("name");

    QTest::newRow("none stored") << QStringList{} << QList<QStringList>{} << "apple pie";
    QTest::newRow("the same search, other letter case")
        << QStringList{"Apple Pie"} << QList<QStringList>{{"Apple", "Pie"}} << "apple pie";
    QTest::newRow("a sheet query asking more is kept")
        << QStringList{"apple pie"} << QList<QStringList>{{"apple", "pie", "cream"}} << "apple pie (2)";
    QTest::newRow("the second name is the same search")
        << QStringList{"apple pie", "apple pie (2)"} << QList<QStringList>{{"tart"}, {"apple", "pie"}}
        << "apple pie (2)";
    QTest::newRow("first free name")
        << QStringList{"apple pie", "apple pie (2)"} << QList<QStringList>{{"tart"}, {"cake"}} << "apple pie (3)";
}

void TestSearchField::nameOfAStoredQuery()
{
    QFETCH(QStringList, storedNames);
    QFETCH(QList<QStringList>, storedKeywords);
    QFETCH(QString, name);

    FrameTest::Store store;
    QVERIFY(store.open());
    for (qsizetype i = 0; i < storedNames.size(); ++i)
        store.addQuery(storedNames.at(i), storedKeywords.at(i));
    CTrawlexQuery query;
    query.m_keywords = {{QStringLiteral("apple"), QStringLiteral("include")},
                        {QStringLiteral("pie"), QStringLiteral("include")}};
    QCOMPARE(CSearchFieldCommit::ChooseName(store.doc, query, QStringLiteral("apple pie")), name);
}

void TestSearchField::enginesFollowLastRunUntilChosen()
{
    FrameTest::Store store;
    QVERIFY(store.open());
    CTrawlexSettings &settings = *store.settings;

    // Nothing stored yet: every engine that can be asked, never a retired one.
    const QStringList all = settings.searchFieldEngines();
    QCOMPARE(all, CTrawlexSettings::askableEngines());
    QVERIFY(all.contains(QStringLiteral("AltaVista")));
    QVERIFY(!all.contains(QStringLiteral("OpenText")));
    QVERIFY(!all.contains(QStringLiteral("HotBotRepeat")));

    settings.rememberRunEngines({QStringLiteral("Lycos"), QStringLiteral("Yahoo")});
    QCOMPARE(settings.searchFieldEngines(), (QStringList{"Lycos", "Yahoo"}));

    // Chosen in Preferences: later runs leave the choice alone, also after a restart.
    settings.SearchEngines = {QStringLiteral("Excite")};
    settings.SearchEnginesChosen = true;
    settings.savePreferences();
    settings.rememberRunEngines({QStringLiteral("Lycos")});
    CTrawlexSettings reread(store.dir.filePath(QStringLiteral("settings.ini")));
    reread.load();
    QCOMPARE(reread.searchFieldEngines(), QStringList{"Excite"});
    QVERIFY(reread.SearchEnginesChosen);

    // A stored name the program no longer knows is passed over.
    settings.SearchEngines = {QStringLiteral("NoSuchEngine"), QStringLiteral("Excite"), QStringLiteral("Worm")};
    QCOMPARE(settings.searchFieldEngines(), QStringList{"Excite"});
    settings.SearchEngines = {QStringLiteral("NoSuchEngine")};
    QCOMPARE(settings.searchFieldEngines(), all);
}

void TestSearchField::preferencesChooseEngines()
{
    FrameTest::Store store;
    QVERIFY(store.open());
    CTrawlexSettings &settings = *store.settings;
    settings.rememberRunEngines({QStringLiteral("Lycos")});
    CSettingsCommands commands(nullptr, settings, store.prompt);
    PrefsModalDriver driver;

    // Shown as they are: following the last run, its engines checked, the list off.
    QStringList shownChecked;
    bool followShown = false;
    bool listEnabledShown = true;
    const auto checked = [](QListWidget *list) {
        QStringList names;
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->checkState() == Qt::Checked)
                names << list->item(i)->text();
        }
        return names;
    };
    const auto okButton = [](QWidget *dlg) {
        for (QPushButton *b : dlg->findChildren<QPushButton *>())
            if (b->text() == QLatin1String("OK"))
                return b;
        return static_cast<QPushButton *>(nullptr);
    };
    // First OK with nothing checked is refused; the second with two engines is taken.
    driver.expect<CPreferencesDlg>([&](CPreferencesDlg *dlg) {
        shownChecked = checked(dlg->searchEngineList());
        followShown = dlg->lastRunEnginesBox()->isChecked();
        listEnabledShown = dlg->searchEngineList()->isEnabled();
        dlg->lastRunEnginesBox()->setChecked(false);
        QListWidget *list = dlg->searchEngineList();
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setCheckState(Qt::Unchecked);
        QTest::mouseClick(okButton(dlg), Qt::LeftButton);
        QVERIFY(dlg->isVisible());
        for (int i = 0; i < list->count(); ++i) {
            const QString name = list->item(i)->text();
            if (name == QLatin1String("HotBot") || name == QLatin1String("Yahoo"))
                list->item(i)->setCheckState(Qt::Checked);
        }
        QTest::mouseClick(okButton(dlg), Qt::LeftButton);
    });
    QVERIFY(commands.OnPreferences());
    QCOMPARE(driver.pending(), 0);
    QCOMPARE(shownChecked, QStringList{"Lycos"});
    QVERIFY(followShown);
    QVERIFY(!listEnabledShown);
    QCOMPARE(store.prompt.messages, QStringList{"Error!  No Search engine selected."});

    CTrawlexSettings reread(store.dir.filePath(QStringLiteral("settings.ini")));
    reread.load();
    QCOMPARE(reread.searchFieldEngines(), (QStringList{"HotBot", "Yahoo"}));
    QVERIFY(reread.SearchEnginesChosen);
}

void TestSearchField::screenshot()
{
    FrameTest::Store store;
    QVERIFY(store.open());
    CRunMonitor monitor(store.doc, store.prompt);
    CMainFrame frame(store.doc, *store.settings, monitor, store.prompt);
    frame.resize(1000, 700);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCoreApplication::sendPostedEvents();
    QLineEdit *field = frame.toolBar()->searchField();
    field->setText(QStringLiteral("travel \"rail pass\" -cruise"));
    frame.toolBar()->setSearchNotes({QStringLiteral("A note")});
    QTest::qWait(50);

    // The whole field shows at its full height, right of the last button.
    QVERIFY(field->isVisible());
    QVERIFY(field->height() >= field->sizeHint().height());
    QVERIFY(field->width() >= field->minimumWidth());
    QWidget *help = frame.toolBar()->widgetForAction(frame.action(ID_HELP_FAQ));
    QVERIFY(help);
    const QRect fieldInFrame(field->mapTo(&frame, QPoint(0, 0)), field->size());
    const QRect helpInFrame(help->mapTo(&frame, QPoint(0, 0)), help->size());
    QVERIFY(fieldInFrame.left() > helpInFrame.right());
    // In the toolbar's row, within the window, to the right half of it.
    QVERIFY(fieldInFrame.intersects(QRect(0, helpInFrame.top(), frame.width(), helpInFrame.height())));
    QVERIFY(frame.rect().contains(fieldInFrame));
    QVERIFY(fieldInFrame.right() > frame.width() * 3 / 4);

    // The Toolbar command hides both bars; Ctrl+L brings the field back.
    frame.action(ID_VIEW_TOOLBAR)->setChecked(false);
    QTRY_VERIFY(!field->isVisible());
    QTest::keySequence(&frame, QKeySequence(Qt::CTRL | Qt::Key_L));
    QTRY_VERIFY(field->isVisible() && field->hasFocus());
    QVERIFY(frame.toolBar()->isVisible());
    QTest::qWait(50);

    const int rowBottom = std::max(fieldInFrame.bottom(), helpInFrame.bottom()) + 6;
    const QPixmap picture = frame.grab(QRect(0, 0, frame.width(), rowBottom));
    const qreal scale = picture.devicePixelRatio();
    const QString path = TestPaths::binaryDir()
        + QStringLiteral("/screenshots/toolbar-search-field-x%1.png").arg(qRound(scale));
    QVERIFY(picture.save(path));
}

QTEST_MAIN(TestSearchField)
#include "tst_search_field.moc"
