#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

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

    // Starts as start() does, also serving HTTPS on a free port with a certificate the
    // simulator makes and writes to certificateFile(). False when either port did not come up.
    bool startWithHttps(const QStringList &extraArgs = {});
    int httpsPort() const { return m_nHttpsPort; }
    QString certificateFile() const;
    // "http://127.0.0.1:PORT" and "https://127.0.0.1:HTTPSPORT", the bases of today's forms.
    QString httpBase() const;
    QString httpsBase() const;

private:
    QProcess m_process;
    int m_nPort = 0;
    int m_nHttpsPort = 0;
    std::unique_ptr<QTemporaryDir> m_certificateDir;
};
