// Enter in the search field to the run's start (the monitor's runStarted), with 1,000 stored
// queries in the database: the reading, the naming against the stored names, the sheet's
// rules and the run start. The retrieval is a stand-in that asks nobody, so no traffic
// leaves the machine; each run is stopped before the next Enter.
//
//   bench_gui_search_field [RUNS]        RUNS defaults to 200; target: median under 10 ms
#include "app/CTrawlexSettings.h"
#include "app/IUserPrompt.h"
#include "frame/CMainFrame.h"
#include "frame/CTrawlexToolBar.h"
#include "run/CRunMonitor.h"
#include "run/IRunRetrieval.h"
#include "store/CDefinitionTables.h"
#include "store/CMainQueryTable.h"
#include "store/CTrawlexDoc.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QKeyEvent>
#include <QTextStream>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

class SilentPrompt final : public IUserPrompt
{
public:
    void showMessage(const QString &text) override { messages << text; }
    bool askYesNo(const QString &) override { return true; }
    QStringList messages;
};

class IdleRetrieval final : public IRunRetrieval
{
public:
    void Start(const RetrievalParams &) override {}
    void RequestStop() override {}
    void WaitForFinished() override {}
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const QStringList args = app.arguments();
    const int runs = args.size() > 1 ? std::max(1, args.at(1).toInt()) : 200;
    QTextStream out(stdout);

    QTemporaryDir dir;
    const QString prebuilt = QDir(app.applicationDirPath()).filePath(QStringLiteral("../tx.mdb"));
    const QString dbPath = dir.filePath(QStringLiteral("tx.mdb"));
    if (!QFile::copy(prebuilt, dbPath)) {
        out << "needs the pre-built tx.mdb: " << prebuilt << '\n';
        return 2;
    }

    SilentPrompt prompt;
    CTrawlexDoc doc;
    if (!doc.OpenDatabase(dbPath, &prompt))
        return 2;
    for (int i = 0; i < 1000; ++i) {
        const int qid = doc.MainQueries().insertQuery(QStringLiteral("stored query %1").arg(i));
        const int kid = doc.Definitions().insertKeyword(qid);
        doc.Definitions().insertKeywordWord(qid, kid, QStringLiteral("include"), QStringLiteral("word%1").arg(i));
    }
    doc.LoadEngineAddressList();

    CTrawlexSettings settings(dir.filePath(QStringLiteral("settings.ini")));
    settings.load();
    settings.DirectConnection = true;
    settings.SearchEngines = {QStringLiteral("AltaVista"), QStringLiteral("HotBot")};
    settings.SearchEnginesChosen = true;

    CRunMonitor monitor(doc, prompt);
    monitor.SetRetrieval(std::make_unique<IdleRetrieval>());
    CMainFrame frame(doc, settings, monitor, prompt);
    frame.show();
    QCoreApplication::processEvents();

    QLineEdit *field = frame.toolBar()->searchField();
    QElapsedTimer clock;
    qint64 startedAt = -1;
    QObject::connect(&monitor, &CRunMonitor::runStarted, &frame, [&] { startedAt = clock.nsecsElapsed(); });

    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        field->setText(QStringLiteral("travel \"rail pass\" -cruise site:example.com guide%1").arg(i));
        startedAt = -1;
        clock.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(field, &press);
        if (startedAt < 0) {
            out << "the run did not start: " << prompt.messages.join(QLatin1Char('|')) << '\n';
            return 1;
        }
        times.push_back(double(startedAt) / 1e6);
        monitor.Stop();
        QCoreApplication::processEvents();
    }

    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    const double p95 = times[std::min(times.size() - 1, times.size() * 95 / 100)];
    out << "Enter to runStarted, " << runs << " runs, 1000 stored queries: median " << QString::number(median, 'f', 2)
        << " ms, 95th percentile " << QString::number(p95, 'f', 2) << " ms, worst "
        << QString::number(times.back(), 'f', 2) << " ms (target under 10 ms)\n";
    return median < 10.0 ? 0 : 1;
}
