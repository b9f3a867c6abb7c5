#include "ResultsTestSupport.h"
#include "ViewsTestFixture.h"

#include "views/CQueryTreeData.h"
#include "views/CTrawlexQueryResultsView.h"
#include "views/CTrawlexQueryView.h"
#include "views/CTrawlexResultText.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>
#include <QTreeWidgetItem>

namespace {
constexpr int kName = TrawlexIds::ID_VIEW_NAME;
constexpr int kSite = TrawlexIds::ID_VIEW_SITE;
constexpr int kKeyword = TrawlexIds::ID_VIEW_KEYWORD;
constexpr int kTime = TrawlexIds::ID_VIEW_TIME;

struct Tree
{
    ViewsTest::Fixture f;
    CTrawlexQueryView tree;
    CTrawlexQueryResultsView results;
    int qAlpha = -1, qBeta = -1, qGamma = -1, qMidnight = -1;

    bool setUp()
    {
        if (!f.open())
            return false;
        qBeta = f.addQuery(QStringLiteral("beta"), {QStringLiteral("java")}, QDateTime(QDate(1997, 12, 20), QTime(9, 0)));
        qAlpha = f.addQuery(QStringLiteral("Alpha"), {QStringLiteral("Java"), QStringLiteral("coffee")},
                            QDateTime(QDate(1997, 12, 7), QTime(10, 15, 30)));
        qGamma = f.addQuery(QStringLiteral("gamma"), {QStringLiteral("o'brien")}, QDateTime(QDate(1998, 1, 3), QTime(8, 0)));
        qMidnight = f.addQuery(QStringLiteral("midnight"), {QStringLiteral("clock")}, QDateTime(QDate(1997, 12, 7), QTime(0, 0)));
        f.addResult(qAlpha, QStringLiteral("http://www.h.com/a"), QStringLiteral("Alpha's page"));
        f.addResult(qBeta, QStringLiteral("http://www.h.com.au/b"));
        f.addResult(qGamma, QStringLiteral("http://other.org/x"));
        tree.setTreeModel(&f.treeModel);
        tree.setCommands(&f.commands);
        tree.setResultsView(&results);
        results.setPageModel(&f.pageModel);
        results.setCommands(&f.commands);
        results.setPrompt(&f.prompt);
        return true;
    }
    QStringList texts(QTreeWidgetItem *parent = nullptr) const
    {
        QStringList t;
        const int n = parent ? parent->childCount() : tree.topLevelItemCount();
        for (int i = 0; i < n; ++i)
            t << (parent ? parent->child(i) : tree.topLevelItem(i))->text(0);
        return t;
    }
    QTreeWidgetItem *top(const QString &text) const
    {
        const QList<QTreeWidgetItem *> found = tree.findItems(text, Qt::MatchExactly);
        return found.isEmpty() ? nullptr : found.first();
    }
    QTreeWidgetItem *child(QTreeWidgetItem *parent, const QString &text) const
    {
        for (int i = 0; i < parent->childCount(); ++i)
            if (parent->child(i)->text(0) == text)
                return parent->child(i);
        return nullptr;
    }
    int qidOf(QTreeWidgetItem *item)
    {
        QueryTreeItem info;
        return tree.GetItemInfo(item, info) ? info.nQID : -2;
    }
};
} // namespace

class tst_query_tree : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void topLevel_data()
    {
        QTest::addColumn<int>("view");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<bool>("groups");
        QTest::newRow("name") << kName << QStringList{"Alpha", "beta", "gamma", "midnight"} << false;
        // Sorted by address: ".au/" sorts before "/", so www.h.com.au comes first.
        QTest::newRow("site") << kSite << QStringList{"other.org", "www.h.com.au", "www.h.com"} << true;
        QTest::newRow("keyword (one item for Java and java)") << kKeyword
                                                             << QStringList{"clock", "coffee", "java", "o'brien"} << true;
        QTest::newRow("time") << kTime << QStringList{"12/1997", "1/1998"} << true;
    }

    void topLevel()
    {
        QFETCH(int, view);
        QFETCH(QStringList, items);
        QFETCH(bool, groups);
        Tree t;
        QVERIFY(t.setUp());
        t.tree.SwitchArrangement(view);
        QCOMPARE(t.tree.m_nViewMode, view);
        QCOMPARE(t.texts(), items);
        for (int i = 0; i < t.tree.topLevelItemCount(); ++i) {
            QTreeWidgetItem *item = t.tree.topLevelItem(i);
            QueryTreeItem info;
            QVERIFY(t.tree.GetItemInfo(item, info));
            QCOMPARE(info.nView, view);
            QCOMPARE(info.strText, item->text(0));
            QCOMPARE(info.nQID == -1, groups);
            // A group shows an expand button through its one placeholder child.
            QCOMPARE(item->childCount(), groups ? 1 : 0);
            if (groups)
                QVERIFY(!t.tree.GetItemInfo(item->child(0), info));
        }
        QVERIFY(t.f.prompt.messages.isEmpty());
    }

    void expansion_data()
    {
        QTest::addColumn<int>("view");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QStringList>("children");
        QTest::newRow("keyword in either case") << kKeyword << "java" << QStringList{"Alpha", "beta"};
        QTest::newRow("keyword with apostrophe") << kKeyword << "o'brien" << QStringList{"gamma"};
        QTest::newRow("site contained anywhere") << kSite << "www.h.com" << QStringList{"Alpha", "beta"};
        QTest::newRow("site of one") << kSite << "other.org" << QStringList{"gamma"};
        QTest::newRow("month gives days") << kTime << "12/1997" << QStringList{"12/7/1997", "12/20/1997"};
        QTest::newRow("other month") << kTime << "1/1998" << QStringList{"1/3/1998"};
    }

    void expansion()
    {
        QFETCH(int, view);
        QFETCH(QString, group);
        QFETCH(QStringList, children);
        Tree t;
        QVERIFY(t.setUp());
        t.tree.SwitchArrangement(view);
        QTreeWidgetItem *item = t.top(group);
        QVERIFY(item);
        item->setExpanded(true);
        QCOMPARE(t.texts(item), children);
        // Collapsing forgets the children and brings the placeholder back.
        item->setExpanded(false);
        QCOMPARE(item->childCount(), 1);
        QCOMPARE(item->child(0)->text(0), QString());
    }

    // The day key lists every query of that day, the one saved at midnight included, by name.
    void dayExpansion()
    {
        Tree t;
        QVERIFY(t.setUp());
        t.tree.SwitchArrangement(kTime);
        QTreeWidgetItem *month = t.top(QStringLiteral("12/1997"));
        month->setExpanded(true);
        QTreeWidgetItem *day = t.child(month, QStringLiteral("12/7/1997"));
        QVERIFY(day);
        day->setExpanded(true);
        QCOMPARE(t.texts(day), (QStringList{"Alpha", "midnight"}));
        QCOMPARE(t.qidOf(day->child(0)), t.qAlpha);
        QCOMPARE(t.qidOf(day->child(1)), t.qMidnight);
    }

    void emptyMonthCancelsExpansion()
    {
        Tree t;
        QVERIFY(t.setUp());
        t.tree.SwitchArrangement(kTime);
        t.f.doc.MainQueries().deleteQuery(t.qGamma);
        QTreeWidgetItem *month = t.top(QStringLiteral("1/1998"));
        month->setExpanded(true);
        QVERIFY(!month->isExpanded());
        QCOMPARE(month->childCount(), 0);
        QVERIFY(t.f.prompt.messages.isEmpty());
    }

    void reopenedGroupShowsNewQueries()
    {
        Tree t;
        QVERIFY(t.setUp());
        t.tree.SwitchArrangement(kKeyword);
        QTreeWidgetItem *java = t.top(QStringLiteral("java"));
        java->setExpanded(true);
        QCOMPARE(java->childCount(), 2);
        t.f.addQuery(QStringLiteral("delta"), {QStringLiteral("JAVA")});
        java->setExpanded(false);
        java->setExpanded(true);
        QCOMPARE(t.texts(java), (QStringList{"Alpha", "beta", "delta"}));
    }

    void selectionLoadsAndShows()
    {
        Tree t;
        QVERIFY(t.setUp());
        t.tree.SwitchArrangement(kName);
        t.results.m_nPage = 3;
        t.tree.setCurrentItem(t.top(QStringLiteral("Alpha")));
        QCOMPARE(t.f.results.Qid(), t.qAlpha);
        QCOMPARE(t.f.query.m_strName, QStringLiteral("Alpha"));
        QCOMPARE(ResultsTestSupport::urls(t.f.results), QStringList{"http://www.h.com/a"});
        QCOMPARE(t.results.m_nPage, 1);
        QCOMPARE(static_cast<CTrawlexResultText *>(t.results.pageChildren().value(0))->text(), QStringLiteral("Alpha's page"));
        QCOMPARE(t.tree.selectedQueryId(), t.qAlpha);

        // A group neither loads nor changes the page.
        t.tree.SwitchArrangement(kKeyword);
        t.tree.setCurrentItem(t.top(QStringLiteral("java")));
        QCOMPARE(t.tree.selectedQueryId(), -1);
        QCOMPARE(t.f.results.Qid(), t.qAlpha);
        QCOMPARE(t.results.pageChildren().size(), 4);
    }

    void selectionDuringRunIgnored()
    {
        Tree t;
        QVERIFY(t.setUp());
        t.tree.SwitchArrangement(kName);
        t.tree.setCurrentItem(t.top(QStringLiteral("Alpha")));
        const QList<QWidget *> page = t.results.pageChildren();
        t.f.results.SetRunning(true);
        t.tree.setCurrentItem(t.top(QStringLiteral("gamma")));
        QCOMPARE(t.f.results.Qid(), t.qAlpha);
        QCOMPARE(t.f.query.m_strName, QStringLiteral("Alpha"));
        QCOMPARE(ResultsTestSupport::urls(t.f.results), QStringList{"http://www.h.com/a"});
        QCOMPARE(t.results.pageChildren(), page);
        QCOMPARE(t.results.m_nPage, 1);
    }

    void initialiseEventSelectsFirst()
    {
        Tree t;
        QVERIFY(t.setUp());
        t.tree.SwitchArrangement(kSite);
        QCoreApplication::postEvent(&t.tree, new QEvent(CTrawlexQueryView::kInitialiseEvent));
        QCoreApplication::processEvents();
        QCOMPARE(t.tree.m_nViewMode, kName);
        QCOMPARE(t.texts().value(0), QStringLiteral("Alpha"));
        QCOMPARE(t.tree.selectedQueryId(), t.qAlpha);
        QCOMPARE(t.f.results.Qid(), t.qAlpha);
        QCOMPARE(t.results.pageChildren().size(), 4);
    }

    // After a run the newest query is selected in the name arrangement, nothing loaded yet.
    void showNewestDuringRun()
    {
        Tree t;
        QVERIFY(t.setUp());
        int asked = 0;
        QObject::connect(&t.tree, &CTrawlexQueryView::switchViewRequested, &t.tree, [&](int view) {
            ++asked;
            t.tree.SwitchArrangement(view);
        });
        t.tree.SwitchArrangement(kKeyword);
        const int newest = t.f.addQuery(QStringLiteral("aardvark"));
        t.f.results.SetRunning(true);
        QEvent showNewest(CTrawlexQueryView::kShowNewestEvent);
        QCoreApplication::sendEvent(&t.tree, &showNewest);
        QCOMPARE(asked, 1);
        QCOMPARE(t.tree.m_nViewMode, kName);
        QCOMPARE(t.tree.selectedQueryId(), newest);
        QCOMPARE(t.f.results.Qid(), -1);
        QVERIFY(t.results.pageChildren().isEmpty());
    }

    void deleteSelected()
    {
        Tree t;
        QVERIFY(t.setUp());
        t.tree.SwitchArrangement(kKeyword);
        t.tree.setCurrentItem(t.top(QStringLiteral("java")));
        QCOMPARE(t.tree.deleteSelectedQuery(), CTrawlexQueryView::DeleteOutcome::NotAQuery);
        QTreeWidgetItem *java = t.top(QStringLiteral("java"));
        java->setExpanded(true);
        t.tree.setCurrentItem(t.child(java, QStringLiteral("beta")));
        QCOMPARE(t.results.pageChildren().size(), 4);
        QCOMPARE(t.tree.deleteSelectedQuery(), CTrawlexQueryView::DeleteOutcome::Deleted);
        QVERIFY(t.results.pageChildren().isEmpty());
        QCOMPARE(t.tree.m_nViewMode, kKeyword);
        t.top(QStringLiteral("java"))->setExpanded(true);
        QCOMPARE(t.texts(t.top(QStringLiteral("java"))), QStringList{"Alpha"});
    }

    // A failing statement is reported once; the group closes and the tree keeps working.
    void expansionErrorReportedOnce()
    {
        Tree t;
        QVERIFY(t.setUp());
        t.tree.SwitchArrangement(kKeyword);
        t.f.db().run(QStringLiteral("ALTER TABLE [Query Content] RENAME TO [Gone]"), {}, QStringLiteral("test")).finish();
        QTreeWidgetItem *java = t.top(QStringLiteral("java"));
        java->setExpanded(true);
        QCOMPARE(t.f.prompt.messages.size(), 1);
        QVERIFY(t.f.prompt.messages.first().startsWith(QStringLiteral("DAO error")));
        QVERIFY(!java->isExpanded());
        t.f.db().run(QStringLiteral("ALTER TABLE [Gone] RENAME TO [Query Content]"), {}, QStringLiteral("test")).finish();
        t.tree.SwitchArrangement(kKeyword);
        t.top(QStringLiteral("java"))->setExpanded(true);
        QCOMPARE(t.top(QStringLiteral("java"))->childCount(), 2);
        QCOMPARE(t.f.prompt.messages.size(), 1);
    }

    void keysFromDates()
    {
        QCOMPARE(CQueryTreeData::MonthKey(QDate(1997, 12, 7)), QStringLiteral("12/1997"));
        QCOMPARE(CQueryTreeData::DayKey(QDate(1998, 1, 3)), QStringLiteral("1/3/1998"));
        QCOMPARE(CQueryTreeData::HostOf(QStringLiteral("http://www.h.com:8080/x?y")), QStringLiteral("www.h.com"));
        QCOMPARE(CQueryTreeData::HostOf(QStringLiteral("not an address")), QString());
    }
};

QTEST_MAIN(tst_query_tree)
#include "tst_query_tree.moc"
