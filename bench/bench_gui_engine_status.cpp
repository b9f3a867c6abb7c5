// Speed of the engine status list, shown in its panel's table as the window shows it:
//  - a whole run reported: a pass begun, then every engine's end, each redrawn;
//  - the list rebuilt when another stored query that ran this session comes on show
//    (goal < 5 ms, with the results page it goes along with).
// For 9 engines (the sheet's), 100 and 1,000.
// Run: QT_QPA_PLATFORM=offscreen ./bench_gui_engine_status [repetitions]

#include "frame/CEngineStatusPanel.h"
#include "run/CEngineRunStatus.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
struct Figures
{
    double median = 0;
    double best = 0;
    double worst = 0;
};

template <class F> Figures Measure(int repetitions, F &&step)
{
    std::vector<double> ms;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer t;
        t.start();
        step(i);
        // What the table does before the screen shows the change.
        QCoreApplication::processEvents();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front(), ms.back()};
}

QStringList engineNames(int n)
{
    QStringList names;
    for (int i = 0; i < n; ++i)
        names << QStringLiteral("Engine %1").arg(i, 4, 10, QLatin1Char('0'));
    return names;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(3, atoi(argv[1])) : 50;

    for (int n : {9, 100, 1000}) {
        CEngineRunStatus status;
        CEngineStatusPanel panel(status);
        panel.resize(900, 400);
        panel.show();
        const QStringList names = engineNames(n);

        const Figures run = Measure(repetitions, [&](int i) {
            status.beginPass(names, 4);
            for (int e = 0; e < n; ++e) {
                if (e % 7 == 3)
                    status.endEngine(names.at(e), -1, QStringLiteral("connection refused"));
                else
                    status.endEngine(names.at(e), e % 11, QString());
            }
            status.finishRun(CRunMonitor::Outcome::Completed, 1 + i % 2);
        });

        // Two stored queries with lists; switching between them rebuilds the table.
        const Figures rebuild = Measure(repetitions, [&](int i) { status.showQuery(1 + (i + 1) % 2); });

        std::printf("%4d engines: whole run reported median %.3f ms (best %.3f, worst %.3f); "
                    "list rebuilt for another query median %.3f ms (best %.3f, worst %.3f)%s\n",
                    n, run.median, run.best, run.worst, rebuild.median, rebuild.best, rebuild.worst,
                    n == 9 ? (rebuild.median < 5.0 ? "  [goal < 5 ms: met]" : "  [goal < 5 ms: MISSED]") : "");
    }
    return 0;
}
