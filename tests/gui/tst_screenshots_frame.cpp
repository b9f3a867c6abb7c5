// Pictures of the main window with a results page, with the engine status during and after a
// run, and of the five pages of the query sheet, written to <build>/screenshots/ for a person
// to look at. CTest runs this at scale 1 and again at QT_SCALE_FACTOR=2 ("@2x" in the names).
#include "FrameTestSupport.h"
#include "ScriptedRetrieval.h"
#include "TestPaths.h"

#include "TrawlexIds.h"
#include "frame/CEngineStatusPanel.h"
#include "frame/CMainFrame.h"
#include "query/CQuerySheetEntries.h"
#include "run/CEngineRunStatus.h"
#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "run/CRunMonitor.h"
#include "sheet/CTrawlexPropertySheetQuery.h"
#include "views/CTrawlexQueryResultsView.h"
#include "views/CTrawlexQueryView.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

class TestScreenshotsFrame final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void mainWindowWithResults();
    void engineStatusDuringAndAfterRun();
    void sheetPages_data();
    void sheetPages();

private:
    static QString save(const QPixmap &picture, const QString &name);
    static int distinctColours(const QImage &image);
};

void TestScreenshotsFrame::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(QDir().mkpath(TestPaths::binaryDir() + QStringLiteral("/screenshots")));
}

QString TestScreenshotsFrame::save(const QPixmap &picture, const QString &name)
{
    // One set of names per scale, so the run at scale 2 keeps the pictures of scale 1.
    QString file = name;
    const qreal scale = qApp->devicePixelRatio();
    if (scale != 1.0)
        file.insert(file.lastIndexOf(QLatin1Char('.')), QStringLiteral("@%1x").arg(scale));
    const QString path = TestPaths::binaryDir() + QStringLiteral("/screenshots/") + file;
    return picture.save(path) ? path : QString();
}

int TestScreenshotsFrame::distinctColours(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    }
    return int(colours.size());
}

void TestScreenshotsFrame::mainWindowWithResults()
{
    FrameTest::Store store;
    QVERIFY(store.open());
    store.addQuery(QStringLiteral("Antique maps"), {QStringLiteral("maps")});
    const int qid = store.addQuery(QStringLiteral("Travel in Portugal"), {QStringLiteral("travel"), QStringLiteral("Portugal")});
    store.addQuery(QStringLiteral("Weather \"forecasts\" (O'Hare)"), {QStringLiteral("weather")});
    const char *hosts[] = {"www.lisbon-guide.com", "www.travelweb.com", "www.algarve.pt", "www.portugal.org"};
    for (int i = 0; i < 14; ++i) {
        store.addResult(qid, QStringLiteral("http://%1/pages/tour%2.html").arg(QLatin1String(hosts[i % 4])).arg(i),
                        QStringLiteral("Travel guide to Portugal, part %1: hotels, trains and the coast").arg(i + 1));
    }
    CTrawlexDoc &doc = store.doc;
    CRunMonitor monitor(doc, doc.Query(), doc.ResultsSet(), store.prompt);
    CMainFrame frame(doc, *store.settings, monitor, store.prompt);
    frame.resize(1000, 700);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCoreApplication::sendPostedEvents();
    const auto items = frame.queryView()->findItems(QStringLiteral("Travel in Portugal"), Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    frame.queryView()->setCurrentItem(items.first());
    QTRY_VERIFY(frame.resultsView()->headerText());
    QTest::qWait(50);

    const QPixmap picture = frame.grab();
    QVERIFY(!save(picture, QStringLiteral("frame-main-window.png")).isEmpty());
    QCOMPARE(picture.deviceIndependentSize().toSize(), frame.size());
    // Something is drawn: toolbar images, tree and page, not one flat colour.
    QVERIFY(distinctColours(picture.toImage()) > 20);
    QVERIFY(store.prompt.messages.isEmpty());
}

void TestScreenshotsFrame::engineStatusDuringAndAfterRun()
{
    FrameTest::Store store;
    QVERIFY(store.open());
    store.doc.LoadEngineAddressList();
    store.addQuery(QStringLiteral("Antique maps"), {QStringLiteral("maps")});
    CTrawlexDoc &doc = store.doc;
    CRunMonitor monitor(doc, doc.Query(), doc.ResultsSet(), store.prompt);
    auto scripted = std::make_unique<ScriptedRetrieval>();
    ScriptedRetrieval *engines = scripted.get();
    monitor.SetRetrieval(std::move(scripted));
    store.settings->MaxConns = 4;
    CMainFrame frame(doc, *store.settings, monitor, store.prompt);
    frame.resize(1000, 700);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCoreApplication::sendPostedEvents();
    frame.action(TrawlexIds::ID_VIEW_ENGINE_STATUS)->trigger();

    CQuerySheetEntries entries;
    entries.m_strName = QStringLiteral("Travel in Portugal");
    entries.m_keywordEntries = {QStringLiteral("include:travel"), QStringLiteral("include:Portugal")};
    entries.m_engines = {QStringLiteral("AltaVista"), QStringLiteral("Excite"), QStringLiteral("HotBot"),
                         QStringLiteral("Lycos"), QStringLiteral("Yahoo")};
    QVERIFY(monitor.CommitQuerySheet(entries));
    QVERIFY(monitor.StartRun(false));
    for (int i = 0; i < 8; ++i)
        engines->hit(QStringLiteral("http://www.algarve.pt/tour%1.html").arg(i),
                     QStringLiteral("Travel guide to Portugal, part %1").arg(i + 1));
    engines->end(QStringLiteral("AltaVista"), 8);
    engines->end(QStringLiteral("HotBot"), -1, QStringLiteral("connection refused by 127.0.0.1:8083"));
    QTest::qWait(50);

    CEngineStatusPanel *panel = frame.engineStatusPanel();
    auto checkPanel = [&frame, panel] {
        // The panel lies inside the window, its rows readable, its columns not cut to nothing.
        const QRect inFrame(panel->mapTo(&frame, QPoint(0, 0)), panel->size());
        QVERIFY(frame.rect().contains(inFrame));
        QTableView *table = panel->table();
        QVERIFY(table->isVisible());
        for (int column = 0; column < CEngineRunStatus::ReasonColumn; ++column)
            QVERIFY(table->columnWidth(column) >= table->horizontalHeader()->sectionSizeHint(column));
        QVERIFY(table->rowHeight(0) >= table->fontMetrics().height());
        QToolButton *summary = frame.engineSummary();
        QVERIFY(summary->isVisible());
        QVERIFY(summary->width() >= summary->sizeHint().width());
        QVERIFY(summary->height() >= summary->sizeHint().height());
    };
    checkPanel();
    QPixmap picture = frame.grab();
    QVERIFY(!save(picture, QStringLiteral("frame-engine-status-running.png")).isEmpty());
    QVERIFY(distinctColours(picture.toImage()) > 20);

    engines->end(QStringLiteral("Excite"), 0);
    engines->end(QStringLiteral("Lycos"), -1, QStringLiteral("no answer within 60 seconds"));
    for (int i = 0; i < 10; ++i)
        engines->hit(QStringLiteral("http://www.lisbon-guide.com/page%1.html").arg(i),
                     QStringLiteral("Lisbon guide, page %1").arg(i + 1));
    engines->end(QStringLiteral("Yahoo"), 10);
    QVERIFY(!monitor.IsRunning());
    QCOMPARE(store.prompt.messages, QStringList{QStringLiteral("Query Retrieval completed!  HotBot and Lycos timed out.")});
    QTest::qWait(50);
    checkPanel();
    QVERIFY(panel->heading()->text().startsWith(QLatin1String("Run completed at ")));
    QCOMPARE(frame.engineStatus().engineCount(), 5);
    QCOMPARE(frame.engineStatus().failedEngines(), (QStringList{QStringLiteral("HotBot"), QStringLiteral("Lycos")}));
    picture = frame.grab();
    QVERIFY(!save(picture, QStringLiteral("frame-engine-status-after.png")).isEmpty());
}

void TestScreenshotsFrame::sheetPages_data()
{
    QTest::addColumn<int>("page");
    QTest::newRow("name") << 0;
    QTest::newRow("keywords") << 1;
    QTest::newRow("groups") << 2;
    QTest::newRow("filters") << 3;
    QTest::newRow("where") << 4;
}

void TestScreenshotsFrame::sheetPages()
{
    QFETCH(int, page);

    CTrawlexQuery query;
    query.m_strName = QStringLiteral("Travel in Portugal");
    query.m_keywords = {{QStringLiteral("travel"), QStringLiteral("include")},
                        {QStringLiteral("Portugal"), QStringLiteral("include")},
                        {QStringLiteral("cruise"), QStringLiteral("exclude")}};
    CTrawlexGroup group;
    group.m_strName = QStringLiteral("cities");
    group.m_strQualifier = QStringLiteral("optional");
    group.m_members = {{QStringLiteral("Lisbon"), QStringLiteral("include")}, {QStringLiteral("Porto"), QStringLiteral("optional")}};
    query.m_groups = {group};
    CTrawlexFilter filter;
    filter.m_strType = QStringLiteral("Link");
    filter.m_strQualifier = QStringLiteral("include");
    filter.m_strKeyword = QStringLiteral("hotel");
    query.m_filters = {filter};
    query.m_engines = {QStringLiteral("AltaVista"), QStringLiteral("HotBot"), QStringLiteral("Yahoo")};

    CTrawlexPropertySheetQuery sheet;
    sheet.FillFromQuery(query);
    sheet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sheet));
    sheet.tabs()->setCurrentIndex(page);
    QTest::qWait(30);
    const QString name = QStringLiteral("frame-sheet-%1-%2.png").arg(page + 1).arg(QString::fromLatin1(QTest::currentDataTag()));
    const QPixmap picture = sheet.grab();
    QVERIFY(!save(picture, name).isEmpty());
    QVERIFY(distinctColours(picture.toImage()) > 5);
    // Every control of the page lies inside the sheet.
    for (QWidget *child : sheet.tabs()->currentWidget()->findChildren<QWidget *>()) {
        if (!child->isVisible())
            continue;
        const QRect inSheet(child->mapTo(&sheet, QPoint(0, 0)), child->size());
        QVERIFY2(sheet.rect().contains(inSheet), qPrintable(child->objectName() + QLatin1Char(' ') + child->metaObject()->className()));
    }
}

QTEST_MAIN(TestScreenshotsFrame)
#include "tst_screenshots_frame.moc"
