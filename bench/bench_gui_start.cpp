// Program start to the first shown window: starts the built trawlex program again and again
// and times, from the moment the process is started, the line it prints once its main window
// has been drawn (TRAWLEX_REPORT_SHOWN makes it print and end). Each start runs in a fresh
// folder with its own tx.mdb and settings, so nothing of the user's is read or written.
//
//   bench_gui_start [PROGRAM] [RUNS]
// PROGRAM defaults to the trawlex beside this benchmark, RUNS to 20. The platform is the
// offscreen one unless QT_QPA_PLATFORM is set.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    // Absolute, since every start runs in its own folder.
    const QString program = QFileInfo(args.size() > 1 ? args.at(1)
                                                      : QDir(app.applicationDirPath()).filePath(QStringLiteral("../trawlex")))
                                .absoluteFilePath();
    const int runs = args.size() > 2 ? std::max(1, args.at(2).toInt()) : 20;
    const QString prebuilt = QDir(app.applicationDirPath()).filePath(QStringLiteral("../tx.mdb"));
    QTextStream out(stdout);

    if (!QFile::exists(program) || !QFile::exists(prebuilt)) {
        out << "needs the built program and tx.mdb: " << program << ", " << prebuilt << '\n';
        return 2;
    }

    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QTemporaryDir dir;
        QFile::copy(prebuilt, dir.filePath(QStringLiteral("tx.mdb")));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TRAWLEX_REPORT_SHOWN"), QStringLiteral("1"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        // A stored answer to the connection question, and no version check due at this start,
        // as an installed program that has been started before has them.
        QDir().mkpath(dir.filePath(QStringLiteral("config/Quorvel Software")));
        QFile settings(dir.filePath(QStringLiteral("config/Quorvel Software/Trawlex.conf")));
        if (settings.open(QIODevice::WriteOnly))
            settings.write("[Version%201.12]\nTXconn=Direct\nVersionCheck=4\n");
        settings.close();

        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir.path());
        QElapsedTimer clock;
        clock.start();
        process.start(program, {});
        bool shown = false;
        while (!shown && process.waitForReadyRead(10000)) {
            if (process.readAllStandardOutput().contains("shown"))
                shown = true;
        }
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        process.waitForFinished(10000);
        if (!shown) {
            out << "run " << i << ": no window shown; stderr: " << process.readAllStandardError() << '\n';
            return 1;
        }
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    out << "program start to first shown window over " << runs << " starts: min " << times.front()
        << " ms, median " << median << " ms, max " << times.back() << " ms (goal under 300 ms)\n";
    return median < 300.0 ? 0 : 1;
}
