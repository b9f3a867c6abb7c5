#include "ViewsTestFixture.h"

#include "views/CTrawlexBrowseButton.h"
#include "views/CTrawlexMoreButton.h"
#include "views/CTrawlexPreviousButton.h"
#include "views/CTrawlexQueryResultsView.h"
#include "views/CTrawlexResultText.h"
#include "views/ResultsPageTexts.h"

#include <QApplication>
#include <QDesktopServices>
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
        view.setDocument(&f.doc, &f.query, &f.results);
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
        QCOMPARE(p.f.results.m_nSavedCount, 25);
        QCOMPARE(p.view.m_nPage, 2);
        QCOMPARE(p.shownHits(), p.range(10, 20));
        QVERIFY(!p.view.moreButton()->isEnabled());
        QVERIFY(!p.view.previousButton()->isEnabled());

        // The run brings seven more; the page due is built from the enlarged list.
        for (int i = 25; i < 32; ++i) {
            p.f.results.m_titles << QStringLiteral("Title %1").arg(i);
            p.f.results.m_urls << QStringLiteral("http://host.example/%1").arg(i);
            p.f.results.m_summaries << QStringLiteral("Summary %1").arg(i);
            p.f.results.m_newFlags << 0;
        }
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
        QCOMPARE(p.f.results.m_nSavedCount, 10);

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
        p.f.results.m_titles[0] = title;
        p.f.results.m_urls[0] = address;
        p.f.results.m_newFlags[0] = isNew ? 1 : 0;
        p.view.setDocument(&p.f.doc, &p.f.query, &p.f.results);
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
        p.f.results.m_summaries[0] = QString(5000, QLatin1Char('s'));
        p.f.results.m_summaries[1] = QStringLiteral("<b>not bold</b> &amp; \u65e5\u672c\u8a9e ") + QString(300, QLatin1Char(' ')) + QStringLiteral("x");
        p.view.setDocument(&p.f.doc, &p.f.query, &p.f.results);
        atReferenceWidth(p.view);
        QVERIFY(p.view.ShowPage());
        const QList<QWidget *> &c = p.view.pageChildren();
        QCOMPARE(p.view.unitRect(p.view.headerText()), units(2, 1, 68, 4));
        QCOMPARE(c[3]->height(), 3 * p.view.lineHeight());
        QCOMPARE(c[3]->width(), 66 * p.view.charWidth());
        QCOMPARE(static_cast<CTrawlexResultText *>(c[7])->text(), p.f.results.m_summaries[1]);
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
