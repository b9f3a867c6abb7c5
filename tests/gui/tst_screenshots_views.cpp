#include "TestPaths.h"
#include "ViewsTestFixture.h"

#include "views/CLinkAgeTracker.h"
#include "views/CQueryTreeData.h"
#include "views/CTrawlexQueryResultsView.h"
#include "views/CTrawlexPreviousButton.h"
#include "views/CTrawlexQueryView.h"
#include "views/CTrawlexResultText.h"
#include "views/CTrawlexResultsFilterBar.h"

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>
#include <QTreeWidgetItem>

#include <cmath>

// Writes pictures of the results page and the four tree arrangements into the build folder
// (screenshots/), so their look can be checked by eye.
class tst_screenshots_views : public QObject
{
    Q_OBJECT

private:
    QString m_dir;

    // The picture as drawn, saved under name with the scale it was drawn at ("@2x.png").
    QImage save(QWidget &w, QString name)
    {
        w.show();
        if (!QTest::qWaitForWindowExposed(&w))
            return {};
        QCoreApplication::processEvents();
        const QPixmap shot = w.grab();
        if (!name.endsWith(QLatin1String(".png")))
            name += QStringLiteral("@%1x.png").arg(qRound(shot.devicePixelRatio()));
        [&] {
            QVERIFY(!shot.isNull());
            QVERIFY(shot.save(m_dir + QLatin1Char('/') + name));
        }();
        return shot.toImage();
    }

    static void fillJazzHits(ViewsTest::Fixture &f, int qid)
    {
        const QStringList titles{
            QStringLiteral("New Orleans Jazz Club Home Page"),
            QStringLiteral("The Red Hot Jazz Archive - A History of Jazz Before 1930"),
            QStringLiteral("Preservation Hall"),
            QStringLiteral("Tom & Jerry's \"Dixieland\" page <b>(it's great)</b>"),
            QStringLiteral("Jazz Links from around the World Wide Web, sorted"),
            QStringLiteral("M\u00fcnchner Jazzclub \u2013 Programm"),
            QStringLiteral("WWOZ 90.7 FM"),
            QStringLiteral("Storyville District"),
            QStringLiteral("Satchmo's Birthplace and Museum"),
            QStringLiteral("Brass Bands of the Crescent City, New Orleans"),
        };
        f.results = CTrawlexQueryResults();
        f.results.SetQid(qid);
        QList<CTrawlexHit> hits;
        for (int i = 0; i < titles.size(); ++i) {
            hits.append({titles[i],
                         i == 4 ? QStringLiteral("http://www.jazzlinks.example.com/directory/music/styles/traditional/new-orleans/index.html")
                                : QStringLiteral("http://www.jazz%1.example.com/").arg(i),
                         QStringLiteral(
                             "A short description of the page as the engine gave it, long enough to wrap onto a second line "
                             "of the summary box so the spacing of the rows shows. Entry %1.").arg(i),
                         i == 1 || i == 2,
                         {}});
        }
        f.results.SetHits(hits);
    }

    static QPalette darkPalette()
    {
        QPalette p;
        p.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
        p.setColor(QPalette::WindowText, QColor(0xe8, 0xe8, 0xe8));
        p.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
        p.setColor(QPalette::AlternateBase, QColor(0x26, 0x26, 0x26));
        p.setColor(QPalette::Text, QColor(0xe8, 0xe8, 0xe8));
        p.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
        p.setColor(QPalette::ButtonText, QColor(0xf0, 0xf0, 0xf0));
        p.setColor(QPalette::Link, QColor(0x7a, 0xb8, 0xff));
        p.setColor(QPalette::LinkVisited, QColor(0xc8, 0xa2, 0xff));
        p.setColor(QPalette::Highlight, QColor(0x2f, 0x65, 0xca));
        p.setColor(QPalette::HighlightedText, Qt::white);
        return p;
    }

    // Relative luminance and contrast ratio as the accessibility guidelines define them.
    static qreal lightness(const QColor &c)
    {
        const auto channel = [](qreal v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    }
    static qreal contrast(const QColor &a, const QColor &b)
    {
        const qreal la = lightness(a);
        const qreal lb = lightness(b);
        return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
    }
    // The drawn colour in area furthest from the paper's: the ink of the text there.
    static QColor mostDifferent(const QImage &image, const QRect &area, const QColor &paper)
    {
        QColor ink = paper;
        qreal best = 1;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (const qreal k = contrast(c, paper); k > best) {
                    best = k;
                    ink = c;
                }
            }
        }
        return ink;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_dir = TestPaths::binaryDir() + QStringLiteral("/screenshots");
        QVERIFY(QDir().mkpath(m_dir));
    }

    void resultsPage_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("dark");
        QTest::newRow("narrow light") << 700 << false;
        QTest::newRow("wide light") << 1400 << false;
        QTest::newRow("narrow dark") << 700 << true;
        QTest::newRow("wide dark") << 1400 << true;
    }

    // What a person sees of a page of ten: buttons whole, the column as wide as the pane, the
    // hit-count line, readable text in a dark palette too.
    void resultsPage()
    {
        QFETCH(int, width);
        QFETCH(bool, dark);
        ViewsTest::Fixture f;
        QVERIFY(f.open());
        const int qid = f.addQuery(QStringLiteral("Jazz"));
        f.query.m_strName = QStringLiteral("Jazz");
        f.query.m_keywords = {{QStringLiteral("jazz"), QStringLiteral("include")},
                              {QStringLiteral("New Orleans"), QStringLiteral("include")},
                              {QStringLiteral("festival"), QStringLiteral("exclude")}};
        f.query.m_engines = {QStringLiteral("AltaVista"), QStringLiteral("Excite"), QStringLiteral("Lycos")};
        fillJazzHits(f, qid);
        CLinkAgeTracker(f.db(), 7).RecordLinkVisit(f.results.Hits()[3].url);
        CLinkAgeTracker(f.db(), 7).RecordLinkVisit(f.results.Hits()[6].url);

        CTrawlexQueryResultsView view;
        if (dark)
            view.setPalette(darkPalette());
        view.setPageModel(&f.pageModel);
        view.setCommands(&f.commands);
        view.resize(width, 900);
        QVERIFY(view.ShowPage());
        QVERIFY(view.summaryLine());
        QCOMPARE(view.summaryLine()->text(), QStringLiteral("Hits 1\u201310 of 10 from 3 engines"));
        view.setRunSummary(3, {QStringLiteral("Lycos")});
        QCOMPARE(view.summaryLine()->text(), QStringLiteral("Hits 1\u201310 of 10 from 3 engines; failed: Lycos"));
        const QString name = QStringLiteral("results_page_%1_%2").arg(width).arg(dark ? "dark" : "light");
        const QImage shot = save(view, name);

        // Every button whole: never narrower or lower than its text needs.
        const QList<QPushButton *> buttons = view.widget()->findChildren<QPushButton *>();
        QCOMPARE(buttons.size(), 11);
        for (const QPushButton *b : buttons) {
            QVERIFY2(b->width() >= b->sizeHint().width() && b->height() >= b->sizeHint().height(),
                     qPrintable(b->objectName()));
            QVERIFY(b->geometry().right() < view.viewport()->width());
        }
        // The column follows the pane: the summaries end two columns short of its right edge,
        // Browse four; nothing reaches past it.
        const int page = view.viewport()->width();
        const int w = view.charWidth();
        const QList<QWidget *> &c = view.pageChildren();
        for (qsizetype i = 0; i < c.size(); i += 4) {
            QVERIFY(qAbs(c[i + 3]->geometry().right() + 1 - (page - 2 * w)) <= w);
            QVERIFY(qAbs(c[i + 1]->geometry().right() + 1 - (page - 4 * w)) <= w);
            QVERIFY(c[i]->geometry().right() < c[i + 1]->geometry().left());
        }
        QVERIFY(view.widget()->width() == page);
        QVERIFY(view.summaryLine()->isVisible());
        QVERIFY(view.summaryLine()->geometry().bottom() < c[0]->geometry().top());

        // The text colours against the page, as the palette gives them and as drawn.
        const QColor base = view.widget()->palette().color(QPalette::Base);
        // Body text at the guidelines' 4.5:1; the bold link titles, visited ones included, at
        // their 3:1 for large or bold text (the stock light palette's visited magenta is 3.1).
        for (QWidget *text : {static_cast<QWidget *>(view.headerText()), static_cast<QWidget *>(view.summaryLine()),
                              c[2], c[3], c[3 * 4 + 2]}) {
            const QColor ink = text->palette().color(text->foregroundRole());
            QVERIFY2(contrast(ink, base) >= 4.5, qPrintable(ink.name() + QLatin1Char('/') + base.name()));
        }
        for (QWidget *title : {c[0], c[3 * 4]}) {
            const QColor ink = title->palette().color(title->foregroundRole());
            QVERIFY2(contrast(ink, base) >= 3.0, qPrintable(ink.name() + QLatin1Char('/') + base.name()));
        }
        QVERIFY(c[0]->foregroundRole() == QPalette::Link && c[3 * 4]->foregroundRole() == QPalette::LinkVisited);
        const qreal dpr = shot.devicePixelRatio();
        const QRect summary = c[3]->geometry();
        const QRect inImage(QPoint(qRound(summary.left() * dpr), qRound(summary.top() * dpr)),
                            QSize(qRound(summary.width() * dpr), qRound(summary.height() * dpr)));
        const QColor paper = shot.pixelColor(inImage.topLeft() + QPoint(0, inImage.height() - 1));
        QCOMPARE(dark, lightness(paper) < 0.5);
        QVERIFY(contrast(mostDifferent(shot, inImage, paper), paper) >= 4.5);

        // A page past the end, with its message and "Previous".
        view.m_nPage = 1;
        QVERIFY(view.ShowPage());
        view.resize(width, 200);
        save(view, QStringLiteral("results_no_more_%1_%2").arg(width).arg(dark ? "dark" : "light"));
        QVERIFY(view.previousButton()->width() >= view.previousButton()->sizeHint().width());
        QVERIFY(f.prompt.messages.isEmpty());
    }

    // The filter bar at the foot of the pane, narrowing the page to what matches.
    void filteredPage()
    {
        ViewsTest::Fixture f;
        QVERIFY(f.open());
        const int qid = f.addQuery(QStringLiteral("Jazz"));
        f.query.m_keywords = {{QStringLiteral("jazz"), QStringLiteral("include")}};
        fillJazzHits(f, qid);
        CTrawlexQueryResultsView view;
        view.setPageModel(&f.pageModel);
        view.setCommands(&f.commands);
        view.resize(900, 600);
        QVERIFY(view.ShowPage());
        view.show();
        view.openFilter();
        QTest::keyClicks(view.filterBar()->lineEdit(), QStringLiteral("orleans"));
        QCOMPARE(view.shownHits(), (QList<int>{0, 4, 9}));
        save(view, QStringLiteral("results_filtered"));
        QCOMPARE(view.filterBar()->geometry().bottom(), view.height() - 1);
        QCOMPARE(view.filterBar()->width(), view.viewport()->width());
        const QScrollBar *bar = view.verticalScrollBar();
        QVERIFY(bar->isVisible());
        QVERIFY(!view.filterBar()->geometry().intersects(QRect(bar->mapTo(&view, QPoint(0, 0)), bar->size())));
        QVERIFY(view.viewport()->geometry().bottom() < view.filterBar()->geometry().top());
    }

    void treeArrangements_data()
    {
        QTest::addColumn<int>("view");
        QTest::addColumn<QString>("file");
        QTest::newRow("name") << TrawlexIds::ID_VIEW_NAME << "tree_name.png";
        QTest::newRow("site") << TrawlexIds::ID_VIEW_SITE << "tree_site.png";
        QTest::newRow("keyword") << TrawlexIds::ID_VIEW_KEYWORD << "tree_keyword.png";
        QTest::newRow("time") << TrawlexIds::ID_VIEW_TIME << "tree_time.png";
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
        tree.setTreeModel(&f.treeModel);
        tree.setCommands(&f.commands);
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
        save(tree, file.chopped(4));
        QVERIFY(f.prompt.messages.isEmpty());
    }
};

QTEST_MAIN(tst_screenshots_views)
#include "tst_screenshots_views.moc"
