#include "TestPaths.h"
#include "ViewsTestFixture.h"

#include "views/CLinkAgeTracker.h"
#include "views/CQueryTreeData.h"
#include "views/CTrawlexQueryResultsView.h"
#include "views/CTrawlexQueryView.h"

#include <QDir>
#include <QPixmap>
#include <QStandardPaths>
#include <QTest>
#include <QTreeWidgetItem>

// Writes pictures of the results page and the four tree arrangements into the build folder
// (screenshots/), so their look can be checked by eye.
class tst_screenshots_views : public QObject
{
    Q_OBJECT

private:
    QString m_dir;

    void save(QWidget &w, const QString &name)
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCoreApplication::processEvents();
        const QPixmap shot = w.grab();
        QVERIFY(!shot.isNull());
        QVERIFY(shot.save(m_dir + QLatin1Char('/') + name));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_dir = TestPaths::binaryDir() + QStringLiteral("/screenshots");
        QVERIFY(QDir().mkpath(m_dir));
    }

    void resultsPage()
    {
        ViewsTest::Fixture f;
        QVERIFY(f.open());
        const int qid = f.addQuery(QStringLiteral("Jazz"));
        f.query.m_strName = QStringLiteral("Jazz");
        f.query.m_keywords = {{QStringLiteral("jazz"), QStringLiteral("include")},
                              {QStringLiteral("New Orleans"), QStringLiteral("include")},
                              {QStringLiteral("festival"), QStringLiteral("exclude")}};
        const QStringList titles{
            QStringLiteral("New Orleans Jazz Club Home Page"),
            QStringLiteral("The Red Hot Jazz Archive - A History of Jazz Before 1930"),
            QStringLiteral("Preservation Hall"),
            QStringLiteral("Tom & Jerry's \"Dixieland\" page (it's great)"),
            QStringLiteral("Jazz Links from around the World Wide Web, sorted"),
            QStringLiteral("Münchner Jazzclub – Programm"),
            QStringLiteral("WWOZ 90.7 FM"),
            QStringLiteral("Storyville District"),
            QStringLiteral("Satchmo's Birthplace and Museum"),
            QStringLiteral("Brass Bands of the Crescent City"),
        };
        f.results = CTrawlexQueryResults();
        f.results.m_nQID = qid;
        for (int i = 0; i < titles.size(); ++i) {
            f.results.m_titles << titles[i];
            f.results.m_urls << (i == 4 ? QStringLiteral("http://www.jazzlinks.example.com/directory/music/styles/traditional/new-orleans/index.html")
                                        : QStringLiteral("http://www.jazz%1.example.com/").arg(i));
            f.results.m_summaries << QStringLiteral(
                "A short description of the page as the engine gave it, long enough to wrap onto a second line "
                "of the summary box so the spacing of the rows shows. Entry %1.").arg(i);
            f.results.m_newFlags << (i == 1 || i == 2 ? 1 : 0);
        }
        CLinkAgeTracker(f.db(), 7).RecordLinkVisit(f.results.m_urls[3]);
        CLinkAgeTracker(f.db(), 7).RecordLinkVisit(f.results.m_urls[6]);

        CTrawlexQueryResultsView view;
        view.setDocument(&f.doc, &f.query, &f.results);
        view.resize(720, 900);
        QVERIFY(view.ShowPage());
        save(view, QStringLiteral("results_page.png"));

        // A page past the end, with its message and "Previous".
        f.results.m_nQID = qid;
        view.m_nPage = 1;
        QVERIFY(view.ShowPage());
        view.resize(720, 200);
        save(view, QStringLiteral("results_no_more.png"));
        QVERIFY(f.prompt.messages.isEmpty());
    }

    void treeArrangements_data()
    {
        QTest::addColumn<int>("view");
        QTest::addColumn<QString>("file");
        QTest::newRow("name") << CQueryTreeData::kNameView << "tree_name.png";
        QTest::newRow("site") << CQueryTreeData::kSiteView << "tree_site.png";
        QTest::newRow("keyword") << CQueryTreeData::kKeywordView << "tree_keyword.png";
        QTest::newRow("time") << CQueryTreeData::kTimeView << "tree_time.png";
    }

    void treeArrangements()
    {
        QFETCH(int, view);
        QFETCH(QString, file);
        ViewsTest::Fixture f;
        QVERIFY(f.open());
        const int a = f.addQuery(QStringLiteral("Jazz in New Orleans"), {QStringLiteral("jazz"), QStringLiteral("Orleans")},
                                 QDateTime(QDate(1997, 12, 7), QTime(14, 5)));
        const int b = f.addQuery(QStringLiteral("O'Brien family history"), {QStringLiteral("o'brien"), QStringLiteral("genealogy")},
                                 QDateTime(QDate(1997, 12, 20), QTime(9, 30)));
        const int c = f.addQuery(QStringLiteral("Cheap flights"), {QStringLiteral("flights"), QStringLiteral("JAZZ")},
                                 QDateTime(QDate(1998, 1, 3), QTime(0, 0)));
        f.addQuery(QStringLiteral("Bücher über Straßenbahnen"), {QStringLiteral("straßenbahn")},
                   QDateTime(QDate(1998, 1, 3), QTime(18, 45)));
        f.addResult(a, QStringLiteral("http://www.jazz.example.com/a"));
        f.addResult(b, QStringLiteral("http://genealogy.example.org/obrien"));
        f.addResult(c, QStringLiteral("http://www.jazz.example.com/flights"));
        f.addResult(c, QStringLiteral("http://travel.example.net/"));

        CTrawlexQueryView tree;
        tree.setDocument(&f.doc, &f.query, &f.results);
        tree.resize(280, 260);
        tree.SwitchArrangement(view);
        // Open the first group (and, in the time arrangement, its first day) to show children.
        if (QTreeWidgetItem *first = tree.topLevelItem(0); first && first->childCount() > 0) {
            first->setExpanded(true);
            if (first->childCount() > 0 && first->child(0)->childCount() > 0)
                first->child(0)->setExpanded(true);
            if (first->childCount() > 0)
                tree.setCurrentItem(first->child(0));
        } else if (QTreeWidgetItem *second = tree.topLevelItem(1)) {
            tree.setCurrentItem(second);
        }
        save(tree, file);
        QVERIFY(f.prompt.messages.isEmpty());
    }
};

QTEST_MAIN(tst_screenshots_views)
#include "tst_screenshots_views.moc"
