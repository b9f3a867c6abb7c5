// File > Export: when it can be chosen, the file dialog choosing the format by its filter and
// adding the extension, what the written file holds, and failures told through the prompt.
#include "FrameTestSupport.h"
#include "TestPaths.h"

#include "TrawlexIds.h"
#include "frame/CMainFrame.h"
#include "query/CTrawlexQueryResults.h"
#include "run/CRunMonitor.h"
#include "views/CTrawlexQueryView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

using namespace TrawlexIds;
using Format = CResultsExporter::Format;

namespace {
using FrameTest::idle;

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestFrameExport final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        m_store = std::make_unique<FrameTest::Store>();
        QVERIFY(m_store->open());
    }
    void cleanup()
    {
        m_dialogTimer.reset();
        m_frame.reset();
        m_monitor.reset();
        m_store.reset();
    }

    void enabling_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("nothing on show") << false << false << false;
        QTest::newRow("stored query on show") << true << false << true;
        QTest::newRow("during a run") << true << true << false;
    }

    void enabling()
    {
        QFETCH(bool, stored);
        QFETCH(bool, running);
        QFETCH(bool, enabled);
        if (stored)
            addFruit();
        buildFrame();
        m_store->doc.ResultsSet().SetRunning(running);
        idle();
        QCOMPARE(m_frame->action(ID_FILE_EXPORT)->isEnabled(), enabled);
        // A disabled command does nothing, even when triggered.
        if (!enabled) {
            whenDialogOpens([](QFileDialog &d) { d.reject(); });
            m_frame->action(ID_FILE_EXPORT)->trigger();
            QVERIFY(!QApplication::activeModalWidget());
        }
        m_store->doc.ResultsSet().SetRunning(false);
    }

    void dialogChoosesFormat_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("csv, extension added") << 0 << "fruit" << "fruit.csv" << QByteArray("\xEF\xBB\xBFtitle,url");
        QTest::newRow("json, extension added") << 1 << "fruit" << "fruit.json" << QByteArray("{\n    \"hits\"");
        QTest::newRow("bookmarks, extension added") << 2 << "fruit" << "fruit.html" << QByteArray("<!DOCTYPE NETSCAPE-Bookmark-file-1>");
        QTest::newRow("own extension kept") << 2 << "fruit.htm" << "fruit.htm" << QByteArray("<!DOCTYPE NETSCAPE-Bookmark-file-1>");
        QTest::newRow("format by filter, not name") << 1 << "fruit.txt" << "fruit.txt" << QByteArray("{\n    \"hits\"");
    }

    void dialogChoosesFormat()
    {
        QFETCH(int, filter);
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QFETCH(QByteArray, start);
        addFruit();
        buildFrame();
        idle();
        const QString folder = m_store->dir.filePath("out");
        QVERIFY(QDir().mkpath(folder));
        QString suggested;
        whenDialogOpens([&](QFileDialog &d) {
            suggested = d.findChild<QLineEdit *>("fileNameEdit")->text();
            // As the user does it: pick the type in the list, then type the name.
            auto *types = d.findChild<QComboBox *>("fileTypeCombo");
            types->setCurrentIndex(filter);
            emit types->activated(filter);
            emit types->textActivated(types->itemText(filter));
            d.setDirectory(folder);
            d.findChild<QLineEdit *>("fileNameEdit")->setText(typed);
            static_cast<QDialog &>(d).accept();
        });
        m_frame->action(ID_FILE_EXPORT)->trigger();
        QCOMPARE(suggested, QStringLiteral("Fruit _ veg"));
        QVERIFY2(m_store->prompt.messages.isEmpty(), qPrintable(m_store->prompt.messages.join('\n')));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{written});
        const QByteArray bytes = readAll(QDir(folder).filePath(written));
        QVERIFY2(bytes.startsWith(start), bytes.left(60).constData());
        QVERIFY(m_frame->MessageText().startsWith(QStringLiteral("2 hits exported to ")));
    }

    void cancelWritesNothing()
    {
        addFruit();
        buildFrame();
        idle();
        const QStringList before = QDir(m_store->dir.path()).entryList();
        whenDialogOpens([](QFileDialog &d) { d.reject(); });
        m_frame->action(ID_FILE_EXPORT)->trigger();
        QCOMPARE(QDir(m_store->dir.path()).entryList(), before);
        QVERIFY(m_store->prompt.messages.isEmpty());
    }

    void writtenHitsAreTheStoredOnes()
    {
        addFruit();
        buildFrame();
        idle();
        const QString path = m_store->dir.filePath("fruit.json");
        QVERIFY(m_frame->ExportToFile(path, Format::Json));
        const QJsonObject root = QJsonDocument::fromJson(readAll(path)).object();
        QCOMPARE(root.value("query").toString(), QStringLiteral("Fruit / veg"));
        QCOMPARE(root.value("hits").toArray().size(), 2);
        QCOMPARE(root.value("hits").toArray().at(0).toObject().value("title").toString(), QStringLiteral("<b>Apple</b>"));
    }

    void failuresAreReported_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::newRow("missing folder") << "missing/fruit.csv";
        QTest::newRow("folder is a file") << "settings.ini/fruit.csv";
    }

    void failuresAreReported()
    {
        QFETCH(QString, relative);
        addFruit();
        buildFrame();
        idle();
        const QString path = m_store->dir.filePath(relative);
        QVERIFY(!m_frame->ExportToFile(path, Format::Csv));
        QCOMPARE(m_store->prompt.messages.size(), 1);
        QVERIFY2(m_store->prompt.messages.first().startsWith("Error!  Could not write \"" + QDir::toNativeSeparators(path) + "\": "),
                 qPrintable(m_store->prompt.messages.first()));
        QVERIFY(!QFileInfo::exists(path));
    }

    void deletedQueryIsReported()
    {
        const int qid = addFruit();
        buildFrame();
        idle();
        m_store->doc.MainQueries().deleteQuery(qid);
        const QString path = m_store->dir.filePath("fruit.csv");
        QVERIFY(!m_frame->ExportToFile(path, Format::Csv));
        QCOMPARE(m_store->prompt.messages, QStringList{"Error!  The query on show is no longer stored."});
        QVERIFY(!QFileInfo::exists(path));
    }

    // Deleting the query on show leaves nothing to export.
    void deletingTheQueryOnShowTurnsExportOff()
    {
        const int qid = addFruit();
        buildFrame();
        idle();
        QCOMPARE(m_frame->GetSelectedQueryId(), qid);
        QCOMPARE(m_store->doc.ResultsSet().Qid(), qid);
        QVERIFY(m_frame->action(ID_FILE_EXPORT)->isEnabled());
        m_frame->OnDelete();
        idle();
        QVERIFY(m_store->doc.MainQueries().queryName(qid).isNull());
        QCOMPARE(m_store->doc.ResultsSet().Qid(), -1);
        QCOMPARE(m_store->doc.ResultsSet().HitCount(), 0);
        QVERIFY(!m_frame->action(ID_FILE_EXPORT)->isEnabled());
        QVERIFY(m_store->prompt.messages.isEmpty());
    }

    // Pictures to look at: the File menu with the entry, and the dialog with its filters.
    void screenshots()
    {
        addFruit();
        buildFrame();
        idle();
        QVERIFY(QDir().mkpath(TestPaths::binaryDir() + QStringLiteral("/screenshots")));
        QMenu *file = m_frame->menuBar()->actions().first()->menu();
        QCOMPARE(file->title(), QStringLiteral("&File"));
        file->popup(m_frame->mapToGlobal(QPoint(0, m_frame->menuBar()->height())));
        QVERIFY(QTest::qWaitForWindowExposed(file));
        QVERIFY(file->actions().contains(m_frame->action(ID_FILE_EXPORT)));
        QVERIFY(file->actionGeometry(m_frame->action(ID_FILE_EXPORT)).height() > 0);
        QVERIFY(file->grab().save(TestPaths::binaryDir() + QStringLiteral("/screenshots/export-file-menu.png")));
        file->hide();

        QStringList filters;
        whenDialogOpens([&](QFileDialog &d) {
            filters = d.nameFilters();
            d.resize(760, 480);
            idle();
            d.grab().save(TestPaths::binaryDir() + QStringLiteral("/screenshots/export-dialog.png"));
            d.reject();
        });
        m_frame->action(ID_FILE_EXPORT)->trigger();
        QCOMPARE(filters, QStringList({"CSV table (*.csv)", "JSON (*.json)", "Bookmarks for a browser (*.html *.htm)"}));
    }

private:
    // Runs answer on the export dialog once it is open. The timer lives until the test ends,
    // so an answer never reaches a later test's dialog.
    void whenDialogOpens(const std::function<void(QFileDialog &)> &answer)
    {
        m_dialogTimer = std::make_unique<QTimer>();
        QTimer *timer = m_dialogTimer.get();
        timer->setInterval(20);
        connect(timer, &QTimer::timeout, timer, [timer, answer] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            timer->stop();
            answer(*dialog);
        });
        timer->start();
    }

    // A stored query with two hits, shown first by the tree.
    int addFruit()
    {
        const int qid = m_store->addQuery(QStringLiteral("Fruit / veg"), {QStringLiteral("apple")});
        m_store->addResult(qid, QStringLiteral("http://a.example/apple"), QStringLiteral("<b>Apple</b>"));
        m_store->addResult(qid, QStringLiteral("http://a.example/pear"), QStringLiteral("Pear, \"ripe\""));
        return qid;
    }

    void buildFrame()
    {
        CTrawlexDoc &doc = m_store->doc;
        m_monitor = std::make_unique<CRunMonitor>(doc, doc.Query(), doc.ResultsSet(), m_store->prompt);
        m_frame = std::make_unique<CMainFrame>(doc, *m_store->settings, *m_monitor, m_store->prompt);
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        QCoreApplication::sendPostedEvents();
    }

    std::unique_ptr<FrameTest::Store> m_store;
    std::unique_ptr<CRunMonitor> m_monitor;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<QTimer> m_dialogTimer;
};

QTEST_MAIN(TestFrameExport)
#include "tst_frame_export.moc"
