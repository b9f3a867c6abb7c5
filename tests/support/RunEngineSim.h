#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// trawlex-enginesim started by a test on a free loopback port, stopped with the object.
class RunEngineSim final
{
public:
    RunEngineSim() = default;
    ~RunEngineSim();
    RunEngineSim(const RunEngineSim &) = delete;
    RunEngineSim &operator=(const RunEngineSim &) = delete;

    // Starts the simulator with --port 0 and the extra arguments (faults, latency) and waits
    // for its "port N" line. False when it did not come up.
    bool start(const QStringList &extraArgs = {});
    void stop();
    int port() const { return m_nPort; }
    // "127.0.0.1:PORT", the form initdb --engines-at takes.
    QString address() const;
    // Writes a fresh database at path whose engines all point at this simulator, as
    // `trawlex-cli initdb PATH --engines-at` does (for tests that do not run the CLI).
    bool createDatabase(const QString &path) const;

private:
    QProcess m_process;
    int m_nPort = 0;
};
