#include "ResultsTestSupport.h"
#include "ViewsTestFixture.h"

#include "common/WebPageOpener.h"
#include "views/CTrawlexBrowseButton.h"
#include "views/CTrawlexHitTitle.h"
#include "views/CTrawlexMoreButton.h"
#include "views/CTrawlexPreviousButton.h"
#include "views/CTrawlexQueryResultsView.h"
#include "views/CTrawlexResultText.h"
#include "views/CTrawlexResultsFilterBar.h"
#include "views/ResultsPageTexts.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>

// Catches what "Browse" hands to the desktop.
class UrlCatcher final : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void openUrl(const QUrl &url) { urls << url; }
};

namespace {
QRect units(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// The classic page of 70 columns, where every control keeps its stated place.
void atReferenceWidth(CTrawlexQueryResultsView &view, int height = 500)
{
    view.resize(700, height);
    view.resize(view.widthForColumns(CTrawlexQueryResultsView::kReferenceColumns), height);
    QCOMPARE(view.columns(), CTrawlexQueryResultsView::kReferenceColumns);
}

struct Page
{
    ViewsTest::Fixture f;
    CTrawlexQueryResultsView view;
    int qid = -1;

    bool setUp(int hits)
    {
        if (!f.open())
            return false;
        qid = f.addQuery(QStringLiteral("q"), {QStringLiteral("alpha")});
        f.query.m_strName = QStringLiteral("q");
        f.query.m_keywords = {{QStringLiteral("alpha"), QStringLiteral("include")}};
        f.fillHits(qid, hits);
        view.setPageModel(&f.pageModel);
        view.setCommands(&f.commands);
        view.setPrompt(&f.prompt);
        atReferenceWidth(view);
        view.m_nPage = 0;
        return view.ShowPage();
    }
    // The hit indexes of the titles on show.
    QList<int> shownHits() const
    {
        QList<int> hits;
        const QList<QWidget *> &c = view.pageChildren();
        for (qsizetype i = 0; i < c.size(); i += 4)
            hits << static_cast<CTrawlexResultText *>(c[i])->controlId();
        return hits;
    }
    QList<int> range(int from, int to) const
    {
        QList<int> r;
        for (int i = from; i < to; ++i)
            r << i;
        return r;
    }
    bool done() { return f.doc.MainQueries().isDone(qid); }
    CTrawlexHitTitle *title(int slot) const { return static_cast<CTrawlexHitTitle *>(view.pageChildren().value(slot * 4)); }
    // Shown, active and low enough to scroll: what the keyboard tests need.
    bool showActive(int rows = 15)
    {
        view.resize(view.width(), rows * view.lineHeight());
        view.show();
        QApplication::setActiveWindow(&view);
        return QTest::qWaitForWindowActive(&view);
    }
    // The hit whose title has the focus, or -1.
    static int focusedHit()
    {
        auto *t = qobject_cast<CTrawlexHitTitle *>(QApplication::focusWidget());
        return t ? t->controlId() : -1;
    }
    void click(QPushButton *button)
    {
        QVERIFY(button);
        QVERIFY(button->isEnabled());
        button->click();
        QCoreApplication::processEvents(); // the views take clicks queued
    }
};
} // namespace

class tst_results_view : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void unitsAndFonts()
    {
        CTrawlexQueryResultsView view;
        QVERIFY(view.lineHeight() > 0);
        QVERIFY(view.charWidth() > 0);
        QVERIFY(view.fontLink().bold() && view.fontLink().underline() && !view.fontLink().italic());
        QVERIFY(view.fontLinkVisited().italic() && view.fontLinkVisited().underline());
        QVERIFY(view.fontAddress().italic());
        // The platform's faces and sizes: only weight, slant, underline and the header's size vary.
        const QFont platform = QApplication::font();
        QCOMPARE(view.fontText(), platform);
        QCOMPARE(view.fontButton(), QApplication::font("QPushButton"));
        for (const QFont &f : {view.fontLink(), view.fontLinkVisited(), view.fontAddress(), view.fontAddressVisited()}) {
            QCOMPARE(f.family(), platform.family());
            QCOMPARE(f.pointSizeF(), platform.pointSizeF());
        }
        QVERIFY(view.fontLink().bold());
        QCOMPARE(view.fontHeader().family(), platform.family());
        QVERIFY(QFontMetrics(view.fontHeader()).height() > QFontMetrics(platform).height());
        QCOMPARE(view.widget()->minimumHeight(), 58 * view.lineHeight());
        // Three rows hold three lines of a summary.
        QVERIFY(view.lineHeight() >= QFontMetrics(view.fontText()).lineSpacing());
    }

    void noHits()
    {
        Page p;
        QVERIFY(p.setUp(0));
        QVERIFY(!p.view.headerText());
        QVERIFY(!p.view.moreButton());
        QVERIFY(!p.view.previousButton());
        QVERIFY(p.view.pageChildren().isEmpty());
        QVERIFY(p.view.messageText());
        QCOMPARE(p.view.messageText()->text(), QStringLiteral("No Documents were found to match this query."));
        QCOMPARE(p.view.unitRect(p.view.messageText()), units(2, 1, 68, 4));
        QVERIFY(p.done());
        QCOMPARE(p.f.pagesRows(p.qid), (QList<QList<int>>{{0, -1}}));
        QCOMPARE(p.view.m_nPage, 1);
        QVERIFY(p.f.prompt.messages.isEmpty());
    }

    void twentyFiveHitsPaged()
    {
        Page p;
        QVERIFY(p.setUp(25));
        QSignalSpy more(&p.view, &CTrawlexQueryResultsView::moreResultsRequested);

        QCOMPARE(p.view.unitRect(p.view.headerText()), units(2, 1, 68, 4));
        QVERIFY(p.view.headerText()->text().startsWith(QStringLiteral("Query:  alpha")));
        QCOMPARE(p.shownHits(), p.range(0, 10));
        QCOMPARE(p.view.unitRect(p.view.moreButton()), units(1, 54, 13, 56));
        QVERIFY(!p.view.previousButton());
        QCOMPARE(p.f.pagesRows(p.qid), (QList<QList<int>>{{0, 10}}));
        // One hit's rows: title over two, Browse on the first, address on the second, summary three.
        const QList<QWidget *> &c = p.view.pageChildren();
        QCOMPARE(p.view.unitRect(c[0]), units(2, 4, 50, 6));
        QCOMPARE(p.view.unitRect(c[1]), units(58, 4, 66, 5));
        QCOMPARE(p.view.unitRect(c[2]), units(2, 5, 68, 6));
        QCOMPARE(p.view.unitRect(c[3]), units(2, 6, 68, 9));
        QCOMPARE(c[1]->objectName(), QStringLiteral("50000"));

        p.click(p.view.moreButton());
        QCOMPARE(more.count(), 0);
        QCOMPARE(p.view.headerText()->text().left(17), QStringLiteral("Page 2  \nQuery:  "));
        QCOMPARE(p.view.unitRect(p.view.headerText()), units(2, 1, 68, 5));
        QCOMPARE(p.shownHits(), p.range(10, 20));
        QCOMPARE(p.view.unitRect(p.view.moreButton()), units(1, 55, 13, 57));
        QCOMPARE(p.view.unitRect(p.view.previousButton()), units(15, 55, 28, 57));
        QCOMPARE(p.f.pagesRows(p.qid), (QList<QList<int>>{{0, 10}, {1, 20}}));

        // Hits 20 to 24 are held, but the page is not full: the engines are asked first.
        p.click(p.view.moreButton());
        QCOMPARE(more.count(), 1);
        QCOMPARE(p.f.results.SavedCount(), 25);
        QCOMPARE(p.view.m_nPage, 2);
        QCOMPARE(p.shownHits(), p.range(10, 20));
        QVERIFY(!p.view.moreButton()->isEnabled());
        QVERIFY(!p.view.previousButton()->isEnabled());

        // The run brings seven more; the page due is built from the enlarged list.
        ResultsTestSupport::editHits(p.f.results, [](QList<CTrawlexHit> &hits) {
            for (int i = 25; i < 32; ++i)
                hits.append({QStringLiteral("Title %1").arg(i), QStringLiteral("http://host.example/%1").arg(i),
                             QStringLiteral("Summary %1").arg(i), false, {}});
        });
        QVERIFY(p.view.ShowPage());
        QCOMPARE(p.shownHits(), p.range(20, 30));
        QVERIFY(p.view.headerText()->text().startsWith(QStringLiteral("Page 3  \n")));

        // Previous rebuilds the stored pages, whatever the list holds now.
        p.click(p.view.previousButton());
        QCOMPARE(p.shownHits(), p.range(10, 20));
        p.click(p.view.previousButton());
        QCOMPARE(p.shownHits(), p.range(0, 10));
        QVERIFY(!p.view.previousButton());
        QCOMPARE(p.f.pagesRows(p.qid), (QList<QList<int>>{{0, 10}, {1, 20}, {2, 30}}));
        QVERIFY(p.f.prompt.messages.isEmpty());
    }

    void exactlyTenHitsAndMore()
    {
        Page p;
        QVERIFY(p.setUp(10));
        QSignalSpy more(&p.view, &CTrawlexQueryResultsView::moreResultsRequested);
        QCOMPARE(p.shownHits(), p.range(0, 10));
        QVERIFY(!p.done());

        p.click(p.view.moreButton());
        QCOMPARE(more.count(), 1);
        QCOMPARE(p.f.results.SavedCount(), 10);

        // The run found nothing new: the page due is past the end.
        QVERIFY(p.view.ShowPage());
        QVERIFY(p.view.messageText());
        QCOMPARE(p.view.messageText()->text(), QStringLiteral("No more results."));
        QCOMPARE(p.view.unitRect(p.view.messageText()), units(2, 1, 68, 4));
        QCOMPARE(p.view.unitRect(p.view.previousButton()), units(1, 4, 13, 6));
        QVERIFY(!p.view.moreButton());
        QVERIFY(!p.view.headerText());
        QVERIFY(p.done());
        QCOMPARE(p.f.pagesRows(p.qid), (QList<QList<int>>{{0, 10}, {1, -1}}));

        // Done: later "More" clicks build at once, without asking the engines.
        p.click(p.view.previousButton());
        QCOMPARE(p.shownHits(), p.range(0, 10));
        p.click(p.view.moreButton());
        QCOMPARE(more.count(), 1);
        QCOMPARE(p.view.messageText()->text(), QStringLiteral("No more results."));
        QCOMPARE(p.f.pagesRows(p.qid), (QList<QList<int>>{{0, 10}, {1, -1}, {1, -1}}));
    }

    void browseHitSeven()
    {
        Page p;
        QVERIFY(p.setUp(12));
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "openUrl");

        auto *browse = p.view.findChild<CTrawlexBrowseButton *>(QStringLiteral("50007"));
        QVERIFY(browse);
        p.click(browse);
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));

        QCOMPARE(catcher.urls, QList<QUrl>{QUrl(QStringLiteral("http://host.example/7"))});
        QCOMPARE(p.f.visitRows(), 1);
        QCOMPARE(p.view.m_nPage, 1);
        QCOMPARE(p.shownHits(), p.range(0, 10));
        const QList<QWidget *> &c = p.view.pageChildren();
        for (int i = 0; i < 10; ++i) {
            const QFont title = c[i * 4]->font();
            const QFont address = c[i * 4 + 2]->font();
            QCOMPARE(title.italic(), i == 7);
            QVERIFY(title.underline());
            QCOMPARE(address.italic(), i != 7); // the visited address is in the plain default face
        }
        QCOMPARE(c[7 * 4 + 2]->font(), p.view.fontAddressVisited());
        QCOMPARE(c[7 * 4]->font(), p.view.fontLinkVisited());
    }

    void shortenedTexts_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("isNew");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("shownTitle");
        QTest::addColumn<QString>("shownAddress");

        const QString t42 = QString(42, QLatin1Char('t'));
        const QString a72 = QStringLiteral("http://x/") + QString(63, QLatin1Char('a'));
        QTest::newRow("42 whole") << t42 << false << a72 << t42 << a72;
        QTest::newRow("43 cut") << t42 + QLatin1Char('X') << false << a72 + QLatin1Char('B') << t42 + QStringLiteral("...")
                                << a72 + QStringLiteral("...");
        QTest::newRow("new") << QStringLiteral("Fresh") << true << a72 << QStringLiteral("**Fresh") << a72;
        QTest::newRow("new and cut") << t42 + QStringLiteral("YY") << true << a72 << QStringLiteral("**") + t42 + QStringLiteral("...")
                                     << a72;
        QTest::newRow("non-ASCII counts characters") << QString(43, QChar(0x00e9)) << false << a72
                                                     << QString(42, QChar(0x00e9)) + QStringLiteral("...") << a72;
        const QString clef = QString::fromUcs4(U"\U0001D11E");
        QTest::newRow("characters beyond 16 bits count once") << clef.repeated(42) << false << a72 << clef.repeated(42) << a72;
        QTest::newRow("characters beyond 16 bits cut whole") << clef.repeated(43) << false << a72
                                                             << clef.repeated(42) + QStringLiteral("...") << a72;
        QTest::newRow("ampersand literal") << QStringLiteral("Tom & Jerry's \"best\" (1997)") << false << a72
                                           << QStringLiteral("Tom & Jerry's \"best\" (1997)") << a72;
    }

    void shortenedTexts()
    {
        QFETCH(QString, title);
        QFETCH(bool, isNew);
        QFETCH(QString, address);
        QFETCH(QString, shownTitle);
        QFETCH(QString, shownAddress);

        Page p;
        QVERIFY(p.f.open());
        p.qid = p.f.addQuery(QStringLiteral("q"));
        p.f.fillHits(p.qid, 1);
        ResultsTestSupport::editHits(p.f.results, [&](QList<CTrawlexHit> &hits) {
            hits[0].title = title;
            hits[0].url = address;
            hits[0].isNew = isNew;
        });
        p.view.setPageModel(&p.f.pageModel);
        p.view.setCommands(&p.f.commands);
        QVERIFY(p.view.ShowPage());
        auto *titleText = static_cast<CTrawlexResultText *>(p.view.pageChildren()[0]);
        auto *addressText = static_cast<CTrawlexResultText *>(p.view.pageChildren()[2]);
        QCOMPARE(titleText->text(), shownTitle);
        QCOMPARE(addressText->text(), shownAddress);
        QCOMPARE(titleText->textFormat(), Qt::PlainText);
    }

    // Long and awkward texts stay inside their boxes; the header stays on its rows.
    void badInputKeepsTheLayout()
    {
        Page p;
        QVERIFY(p.f.open());
        p.qid = p.f.addQuery(QStringLiteral("o'brien \"x\""));
        p.f.query.m_keywords = {{QStringLiteral("o'brien (\"x\") ") + QString(500, QLatin1Char('w')), QStringLiteral("include")}};
        p.f.fillHits(p.qid, 2);
        ResultsTestSupport::editHits(p.f.results, [](QList<CTrawlexHit> &hits) {
            hits[0].summary = QString(5000, QLatin1Char('s'));
            hits[1].summary = QStringLiteral("<b>not bold</b> &amp; \u65e5\u672c\u8a9e ") + QString(300, QLatin1Char(' ')) + QStringLiteral("x");
        });
        p.view.setPageModel(&p.f.pageModel);
        p.view.setCommands(&p.f.commands);
        atReferenceWidth(p.view);
        QVERIFY(p.view.ShowPage());
        const QList<QWidget *> &c = p.view.pageChildren();
        QCOMPARE(p.view.unitRect(p.view.headerText()), units(2, 1, 68, 4));
        QCOMPARE(c[3]->height(), 3 * p.view.lineHeight());
        QCOMPARE(c[3]->width(), 66 * p.view.charWidth());
        QCOMPARE(static_cast<CTrawlexResultText *>(c[7])->text(), p.f.results.Hits()[1].summary);
        QCOMPARE(p.view.unitRect(c[4]), units(2, 9, 50, 11));
    }

    // A failing statement is reported once; the next build works again.
    void databaseErrorReportedOnce()
    {
        Page p;
        QVERIFY(p.setUp(5));
        p.f.db().run(QStringLiteral("ALTER TABLE [Pages] RENAME TO [Pages Gone]"), {}, QStringLiteral("test")).finish();
        p.view.m_nPage = 0;
        QVERIFY(!p.view.ShowPage());
        QCOMPARE(p.f.prompt.messages.size(), 1);
        QVERIFY(p.f.prompt.messages.first().startsWith(QStringLiteral("DAO error")));
        QCOMPARE(p.view.m_nPage, 0);

        p.f.db().run(QStringLiteral("ALTER TABLE [Pages Gone] RENAME TO [Pages]"), {}, QStringLiteral("test")).finish();
        QVERIFY(p.view.ShowPage());
        QCOMPARE(p.shownHits(), p.range(0, 5));
        QCOMPARE(p.f.prompt.messages.size(), 1);
    }

    // Without More or Previous on the page, Page Down moves by the visible height; Down moves
    // one row while the pane itself has the keys; sideways there is nowhere to go.
    void keyboardScrolling()
    {
        Page p;
        QVERIFY(p.setUp(0));
        // Low enough that a page step stays short of the bottom of the 58 rows.
        p.view.resize(600, 15 * p.view.lineHeight());
        p.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p.view));
        QScrollBar *v = p.view.verticalScrollBar();
        QCOMPARE(v->value(), 0);
        QTest::keyClick(&p.view, Qt::Key_PageDown);
        QCOMPARE(v->value(), p.view.viewport()->height());
        QTest::keyClick(&p.view, Qt::Key_PageUp);
        QCOMPARE(v->value(), 0);
        QTest::keyClick(&p.view, Qt::Key_Down);
        QCOMPARE(v->value(), p.view.lineHeight());
        QTest::keyClick(&p.view, Qt::Key_Up);
        QCOMPARE(v->value(), 0);
        QTest::keyClick(&p.view, Qt::Key_Right);
        QCOMPARE(p.view.horizontalScrollBar()->value(), 0);
        QCOMPARE(p.view.widget()->width(), p.view.viewport()->width());
    }

    // The right edges follow the pane, wider and narrower than the classic 70 columns, and
    // only the geometry changes: the same controls, nothing read or written again.
    void reflowsWithTheWidth()
    {
        Page p;
        QVERIFY(p.setUp(25));
        p.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p.view));
        const QList<QWidget *> controls = p.view.pageChildren();
        const auto pages = p.f.pagesRows(p.qid);
        const int w = p.view.charWidth();
        QCOMPARE(p.view.columns(), 70);
        QCOMPARE(p.view.unitRect(controls[3]), units(2, 6, 68, 9));

        p.view.resize(p.view.widthForColumns(110), p.view.height());
        QCOMPARE(p.view.columns(), 110);
        QCOMPARE(p.view.unitRect(p.view.headerText()), units(2, 1, 108, 4));
        QCOMPARE(p.view.unitRect(p.view.summaryLine()), units(2, 0, 108, 1));
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(p.view.unitRect(controls[i * 4 + 2]), units(2, 5 * i + 5, 108, 5 * i + 6));
            QCOMPARE(p.view.unitRect(controls[i * 4 + 3]), units(2, 5 * i + 6, 108, 5 * i + 9));
            // Browse keeps to the right edge, the title clear of it.
            QCOMPARE(controls[i * 4 + 1]->geometry().right() + 1, 106 * w);
            QVERIFY(controls[i * 4]->geometry().right() < controls[i * 4 + 1]->geometry().left());
        }
        QCOMPARE(p.view.unitRect(p.view.moreButton()), units(1, 54, 13, 56));

        p.view.resize(p.view.widthForColumns(40), p.view.height());
        QCOMPARE(p.view.columns(), 40);
        QCOMPARE(p.view.unitRect(controls[3]), units(2, 6, 38, 9));
        for (QWidget *c : controls) {
            QVERIFY2(c->geometry().right() < 40 * w, qPrintable(c->objectName()));
            QVERIFY(c->width() > 0);
        }
        QVERIFY(controls[0]->geometry().right() < controls[1]->geometry().left());

        // Far too narrow still lays out, at the least columns, without sideways scrolling.
        p.view.resize(60, p.view.height());
        QCOMPARE(p.view.columns(), int(CTrawlexQueryResultsView::kMinimumColumns));

        QCOMPARE(p.view.pageChildren(), controls);
        QCOMPARE(p.f.pagesRows(p.qid), pages);
        QCOMPARE(p.view.m_nPage, 1);

        // The page is as wide as the pane and follows it on every resize.
        p.view.resize(900, 400);
        QCOMPARE(p.view.widget()->width(), p.view.viewport()->width());
        QCOMPARE(p.view.columns(), p.view.viewport()->width() / w);
        QCOMPARE(controls[3]->geometry().right() + 1, (p.view.columns() - 2) * w);
        p.view.resize(1300, 400);
        QCOMPARE(controls[3]->geometry().right() + 1, (p.view.viewport()->width() / w - 2) * w);
        QCOMPARE(p.view.horizontalScrollBar()->maximum(), 0);
    }

    // However large the type, a button is as big as its text needs; the address stops short of
    // a Browse that reaches into its row, and Previous keeps clear of More.
    void buttonsKeepTheirSizeHint()
    {
        const QFont before = QApplication::font();
        QFont large = before;
        large.setPointSizeF(before.pointSizeF() * 2.5);
        QApplication::setFont(large);
        {
            Page p;
            QVERIFY(p.setUp(25));
            p.click(p.view.moreButton());
            QVERIFY(p.view.previousButton());
            QList<QPushButton *> buttons{p.view.moreButton(), p.view.previousButton()};
            for (qsizetype i = 1; i < p.view.pageChildren().size(); i += 4)
                buttons << static_cast<QPushButton *>(p.view.pageChildren()[i]);
            for (QPushButton *b : buttons) {
                QVERIFY2(b->width() >= b->sizeHint().width(), qPrintable(b->objectName()));
                QVERIFY2(b->height() >= b->sizeHint().height(), qPrintable(b->objectName()));
            }
            QVERIFY(p.view.moreButton()->geometry().right() < p.view.previousButton()->geometry().left());
            QWidget *address = p.view.pageChildren()[2];
            QWidget *browse = p.view.pageChildren()[1];
            QVERIFY(browse->geometry().bottom() >= address->geometry().top());
            QVERIFY(address->geometry().left() + address->contentsRect().right() < browse->geometry().left());
        }
        QApplication::setFont(before);
    }

    // A hit whose engines are known says so on a line of its own under the address; its summary
    // and the hits after it move down a row, and the filter hides the line with its hit.
    void originLines()
    {
        Page p;
        QVERIFY(p.f.open());
        p.qid = p.f.addQuery(QStringLiteral("q"), {QStringLiteral("alpha")});
        p.f.fillHits(p.qid, 3);
        ResultsTestSupport::editHits(p.f.results, [](QList<CTrawlexHit> &hits) {
            hits[0].engines = {QStringLiteral("AltaVista"), QStringLiteral("HotBot")};
            hits[1].engines = {};
            hits[2].engines = {QStringLiteral("<b>Lycos</b>")};
        });
        p.view.setPageModel(&p.f.pageModel);
        p.view.setCommands(&p.f.commands);
        atReferenceWidth(p.view);
        p.view.m_nPage = 0;
        QVERIFY(p.view.ShowPage());

        const QList<CTrawlexResultText *> &lines = p.view.originLines();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0]->text(), QStringLiteral("From AltaVista, HotBot"));
        QCOMPARE(lines[0]->controlId(), 0);
        QCOMPARE(lines[1]->text(), QStringLiteral("From <b>Lycos</b>"));
        QCOMPARE(lines[1]->textFormat(), Qt::PlainText);
        const QList<QWidget *> &c = p.view.pageChildren();
        QCOMPARE(p.view.unitRect(c[2]), units(2, 5, 68, 6)); // the first address as before
        QCOMPARE(p.view.unitRect(lines[0]), units(2, 6, 68, 7));
        QCOMPARE(p.view.unitRect(c[3]), units(2, 7, 68, 10)); // its summary a row lower
        QCOMPARE(p.view.unitRect(c[4]), units(2, 10, 50, 12)); // and the second hit
        QCOMPARE(p.view.unitRect(c[7]), units(2, 12, 68, 15)); // no line in the second
        QCOMPARE(p.view.unitRect(c[8]), units(2, 15, 50, 17));
        QCOMPARE(p.view.unitRect(lines[1]), units(2, 17, 68, 18));

        QVERIFY(p.showActive());
        QTest::keyClick(&p.view, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(p.view.filterBar()->isVisible());
        p.view.filterBar()->lineEdit()->setText(QStringLiteral("Title 1"));
        QCOMPARE(p.view.shownHits(), QList<int>{1});
        QVERIFY(lines[0]->isHidden());
        QVERIFY(lines[1]->isHidden());
        QCOMPARE(p.view.unitRect(c[4]), units(2, 4, 50, 6));
    }

    // "Hits 1–10 of 25 from 3 engines": the query's engines until the frame tells of a run,
    // then that run's, for its query only.
    void hitCountLine()
    {
        Page p;
        p.f.query.m_engines = {QStringLiteral("AltaVista"), QStringLiteral("Excite"), QStringLiteral("Lycos")};
        QVERIFY(p.setUp(25));
        const QString dash = QString(QChar(0x2013));
        CTrawlexResultText *line = p.view.summaryLine();
        QVERIFY(line);
        QCOMPARE(line->text(), "Hits 1" + dash + "10 of 25 from 3 engines");
        QCOMPARE(p.view.unitRect(line), units(2, 0, 68, 1));
        QCOMPARE(line->textFormat(), Qt::PlainText);

        p.view.setRunSummary(9, {QStringLiteral("Lycos"), QStringLiteral("Yahoo")});
        QCOMPARE(p.view.summaryLine(), line); // told in place, not rebuilt
        QCOMPARE(line->text(), "Hits 1" + dash + "10 of 25 from 9 engines; failed: Lycos, Yahoo");
        p.click(p.view.moreButton());
        QCOMPARE(p.view.summaryLine()->text(), "Hits 11" + dash + "20 of 25 from 9 engines; failed: Lycos, Yahoo");

        // Another query shows its own engines.
        const int other = p.f.addQuery(QStringLiteral("other"));
        p.f.fillHits(other, 3);
        p.f.query.m_engines = {QStringLiteral("Excite")};
        p.view.m_nPage = 0;
        QVERIFY(p.view.ShowPage());
        QCOMPARE(p.view.summaryLine()->text(), "Hits 1" + dash + "3 of 3 from 1 engine");

        // Told before the run's query had its key: it holds for the query shown next.
        p.f.results.SetQid(-1);
        p.view.setRunSummary(2, {QStringLiteral("Excite")});
        p.f.results.SetQid(other);
        p.view.m_nPage = 0;
        QVERIFY(p.view.ShowPage());
        QCOMPARE(p.view.summaryLine()->text(), "Hits 1" + dash + "3 of 3 from 2 engines; failed: Excite");
        p.view.clearRunSummary();
        QCOMPARE(p.view.summaryLine()->text(), "Hits 1" + dash + "3 of 3 from 1 engine");

        // No hits, and a page past the end, say so.
        p.f.fillHits(other, 0);
        p.view.m_nPage = 0;
        QVERIFY(p.view.ShowPage());
        QCOMPARE(p.view.summaryLine()->text(), QStringLiteral("No hits from 1 engine"));
    }

    // The title is the link: a click on its words or Enter opens it as Browse does, through
    // the same web-pages-only rule, and the page shows it visited.
    void titleIsTheLink()
    {
        Page p;
        QVERIFY(p.setUp(12));
        ResultsTestSupport::editHits(p.f.results, [](QList<CTrawlexHit> &hits) {
            hits[2].title = QStringLiteral("<b>Tom &amp; Jerry</b>");
            hits[5].url = QStringLiteral("javascript:alert(1)");
        });
        p.view.m_nPage = 0;
        QVERIFY(p.view.ShowPage());
        QVERIFY(p.showActive());
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "openUrl");

        CTrawlexHitTitle *seven = p.title(7);
        QCOMPARE(seven->foregroundRole(), QPalette::Link);
        // Beside the words is no link.
        QTest::mouseClick(seven, Qt::LeftButton, {}, QPoint(seven->width() - 2, 2));
        QCoreApplication::processEvents();
        QVERIFY(catcher.urls.isEmpty());
        QTest::mouseClick(seven, Qt::LeftButton, {}, seven->textRect().center());
        QCoreApplication::processEvents();
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl(QStringLiteral("http://host.example/7"))});
        QCOMPARE(p.f.visitRows(), 1);
        QCOMPARE(p.title(7)->foregroundRole(), QPalette::LinkVisited);
        QCOMPARE(p.title(7)->font(), p.view.fontLinkVisited());
        QCOMPARE(Page::focusedHit(), 7); // the rebuilt page gives the focus back

        // Markup in a title is shown as it came, and Enter opens it.
        QCOMPARE(p.title(2)->text(), QStringLiteral("<b>Tom &amp; Jerry</b>"));
        QCOMPARE(p.title(2)->textFormat(), Qt::PlainText);
        p.title(2)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(p.title(2), Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(catcher.urls.size(), 2);
        QCOMPARE(catcher.urls.last(), QUrl(QStringLiteral("http://host.example/2")));
        QCOMPARE(Page::focusedHit(), 2);

        // No web page: refused with the message Browse gives, no visit recorded.
        p.title(5)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(p.title(5), Qt::Key_Enter, Qt::KeypadModifier);
        QCoreApplication::processEvents();
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(catcher.urls.size(), 2);
        QCOMPARE(p.f.prompt.messages, QStringList{WebPageOpener::RefusedText(QStringLiteral("javascript:alert(1)"))});
        QCOMPARE(p.f.visitRows(), 2);
    }

    // Each hit's menu, from any of its controls: Open, Copy address, Copy title and address.
    void hitMenu()
    {
        Page p;
        QVERIFY(p.setUp(5));
        ResultsTestSupport::editHits(p.f.results, [](QList<CTrawlexHit> &hits) {
            hits[3].title = QStringLiteral("Tom & \"Jerry\" <b>");
            hits[3].url = QStringLiteral("http://host.example/?a=1&b=<2>");
        });
        p.view.m_nPage = 0;
        QVERIFY(p.view.ShowPage());
        QVERIFY(p.showActive());

        QMenu *menu = p.view.CreateHitMenu(3);
        const QList<QAction *> actions = menu->actions();
        QCOMPARE(actions.size(), 3);
        QCOMPARE(actions[0]->text().remove(QLatin1Char('&')), QStringLiteral("Open"));
        QCOMPARE(menu->defaultAction(), actions[0]);
        actions[1]->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("http://host.example/?a=1&b=<2>"));
        actions[2]->trigger();
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(data->text(), QStringLiteral("Tom & \"Jerry\" <b>\nhttp://host.example/?a=1&b=<2>"));
        QCOMPARE(data->html(),
                 QStringLiteral("<a href=\"http://host.example/?a=1&amp;b=&lt;2&gt;\">Tom &amp; &quot;Jerry&quot; &lt;b&gt;</a>"));
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "openUrl");
        actions[0]->trigger();
        QCoreApplication::processEvents();
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(p.f.visitRows(), 1);
        delete menu;

        // The summary of hit 1 asks for hit 1's menu; Ctrl+C on a title copies its address.
        QWidget *summary = p.view.pageChildren()[1 * 4 + 3];
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4), summary->mapToGlobal(QPoint(4, 4)));
        QCoreApplication::sendEvent(summary, &event);
        auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(popup);
        QCOMPARE(popup->objectName(), QStringLiteral("HitMenu"));
        popup->actions()[1]->trigger();
        popup->close();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("http://host.example/1"));
        p.title(4)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(p.title(4), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("http://host.example/4"));
    }

    // Tab and the arrows go hit by hit and keep the hit in sight; Page Down and Page Up are
    // More and Previous; Enter on a button presses it.
    void keyboardGoesHitByHit()
    {
        Page p;
        QVERIFY(p.setUp(25));
        QVERIFY(p.showActive());
        p.view.setFocus(Qt::TabFocusReason);
        QCOMPARE(Page::focusedHit(), 0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(Page::focusedHit(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(Page::focusedHit(), 2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(Page::focusedHit(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(Page::focusedHit(), 0);
        for (int i = 0; i < 9; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(Page::focusedHit(), 9);
        const QRect seen = p.view.viewport()->rect();
        const QWidget *summary = p.view.pageChildren()[9 * 4 + 3];
        QVERIFY(seen.contains(p.title(9)->mapTo(p.view.viewport(), QPoint(0, 0))));
        QVERIFY(seen.contains(summary->mapTo(p.view.viewport(), QPoint(0, summary->height() - 1))));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), p.view.moreButton());
        QCOMPARE(p.view.moreButton()->accessibleName(), QStringLiteral("More"));

        QTest::keyClick(p.view.moreButton(), Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(p.shownHits(), p.range(10, 20));
        QCOMPARE(Page::focusedHit(), 10);
        QCOMPARE(p.view.previousButton()->accessibleName(), QStringLiteral("Previous"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
        QCoreApplication::processEvents();
        QCOMPARE(p.shownHits(), p.range(0, 10));
        QCOMPARE(Page::focusedHit(), 0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
        QCoreApplication::processEvents();
        QCOMPARE(p.shownHits(), p.range(10, 20));
        // The tab order follows the screen: each title, then More, then Previous.
        QWidget *w = &p.view;
        QList<QWidget *> order;
        for (int i = 0; i < 12; ++i) {
            w = w->nextInFocusChain();
            while (w->focusPolicy() & Qt::TabFocus ? !w->isVisible() : true)
                w = w->nextInFocusChain();
            order << w;
        }
        for (int i = 0; i < 10; ++i)
            QCOMPARE(order[i], p.title(i));
        QCOMPARE(order[10], p.view.moreButton());
        QCOMPARE(order[11], p.view.previousButton());
        QCOMPARE(p.title(3)->accessibleName(), QStringLiteral("Title 13"));
        QCOMPARE(p.view.pageChildren()[3 * 4 + 1]->accessibleName(), QStringLiteral("Open Title 13"));
    }

    // Ctrl+F: words narrow the page on show, and the hits close up; none matching says so;
    // Esc shows them all again in their places.
    void filterBar()
    {
        Page p;
        QVERIFY(p.setUp(25));
        QVERIFY(p.showActive());
        p.title(0)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(p.title(0), Qt::Key_F, Qt::ControlModifier);
        CTrawlexResultsFilterBar *bar = p.view.filterBar();
        QVERIFY(bar->isVisible());
        QCOMPARE(QApplication::focusWidget(), bar->lineEdit());

        QTest::keyClicks(bar->lineEdit(), QStringLiteral("SUMMARY 7"));
        QCOMPARE(p.view.shownHits(), QList<int>{7});
        QVERIFY(p.title(7)->isVisible() && !p.title(6)->isVisible());
        QCOMPARE(p.view.unitRect(p.title(7)), units(2, 4, 50, 6));
        QCOMPARE(p.view.unitRect(p.view.moreButton()), units(1, 9, 13, 11));
        QCOMPARE(bar->statusLabel()->text(), QStringLiteral("1 of 10"));
        // Nothing of the page hides under the bar.
        QVERIFY(p.view.viewport()->geometry().bottom() < bar->geometry().top());

        bar->lineEdit()->setText(QStringLiteral("host.example/1 title"));
        QCOMPARE(p.view.shownHits(), QList<int>{1});
        bar->lineEdit()->setText(QStringLiteral("festival"));
        QVERIFY(p.view.shownHits().isEmpty());
        QVERIFY(p.view.filterMessageText());
        QCOMPARE(p.view.filterMessageText()->text(), QStringLiteral("No hits on this page match"));
        QCOMPARE(bar->statusLabel()->text(), QStringLiteral("No hits on this page match"));
        QVERIFY(p.view.moreButton()->isVisible());

        // The filter holds for the page on show, through a rebuild of it too.
        bar->lineEdit()->setText(QStringLiteral("3"));
        QCOMPARE(p.view.shownHits(), QList<int>{3});
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "openUrl");
        p.view.OnBrowse(3);
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(p.view.shownHits(), QList<int>{3});
        QVERIFY(!p.view.filterMessageText());

        QTest::keyClick(bar->lineEdit(), Qt::Key_Escape);
        QVERIFY(!bar->isVisible());
        QCOMPARE(p.view.shownHits(), p.range(0, 10));
        QCOMPARE(p.view.unitRect(p.title(7)), units(2, 39, 50, 41));
        QCOMPARE(p.view.unitRect(p.view.moreButton()), units(1, 54, 13, 56));
        QVERIFY(Page::focusedHit() >= 0);
        QCOMPARE(p.view.viewport()->height(), p.view.height());
    }

    void headerText_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("boolean");
        QTest::addColumn<QString>("header");
        QTest::newRow("first page") << 0 << QStringLiteral("a \r\nand b \r\n") << QStringLiteral("Query:  a  and b  ");
        QTest::newRow("second page") << 1 << QStringLiteral("a\r\n") << QStringLiteral("Page 2  \nQuery:  a ");
        QTest::newRow("lone line feed") << 4 << QStringLiteral("x\ny") << QStringLiteral("Page 5  \nQuery:  xy");
    }

    void headerText()
    {
        QFETCH(int, page);
        QFETCH(QString, boolean);
        QFETCH(QString, header);
        QCOMPARE(ResultsPageTexts::HeaderText(page, boolean), header);
    }
};

QTEST_MAIN(tst_results_view)
#include "tst_results_view.moc"
