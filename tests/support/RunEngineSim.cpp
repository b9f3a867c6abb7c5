#include "RunEngineSim.h"

#include "TestPaths.h"

#include "store/CDaoException.h"
#include "store/CTrawlexDatabase.h"

#include <QSqlQuery>

#include <QDeadlineTimer>

RunEngineSim::~RunEngineSim()
{
    stop();
}

bool RunEngineSim::start(const QStringList &extraArgs)
{
    m_process.setProgram(TestPaths::engineSimProgram());
    m_process.setArguments(QStringList{QStringLiteral("--port"), QStringLiteral("0")} + extraArgs);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    if (!m_process.waitForStarted(5000))
        return false;
    QByteArray out;
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (!m_process.canReadLine() && !m_process.waitForReadyRead(int(deadline.remainingTime())))
            break;
        while (m_process.canReadLine()) {
            const QByteArray line = m_process.readLine().trimmed();
            if (line.startsWith("port ")) {
                m_nPort = line.mid(5).toInt();
                return m_nPort > 0;
            }
        }
    }
    return false;
}

void RunEngineSim::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
}

QString RunEngineSim::address() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_nPort);
}

bool RunEngineSim::createDatabase(const QString &path) const
{
    static const QList<QPair<QString, QString>> paths = {
        {QStringLiteral("AltaVista"), QStringLiteral("/altavista/cgi-bin/query")},
        {QStringLiteral("Excite"), QStringLiteral("/excite/search.gw")},
        {QStringLiteral("HotBot"), QStringLiteral("/hotbot")},
        {QStringLiteral("HotBotRepeat"), QStringLiteral("/hotbot-repeat")},
        {QStringLiteral("InfoSeek"), QStringLiteral("/infoseek/")},
        {QStringLiteral("Lycos"), QStringLiteral("/lycos/")},
        {QStringLiteral("Magellan"), QStringLiteral("/magellan/")},
        {QStringLiteral("Yahoo"), QStringLiteral("/yahoo/")},
    };
    try {
        CTrawlexDatabase::createFromSchema(path);
        CTrawlexDatabase db(path);
        for (const auto &[name, tail] : paths)
            db.run(QStringLiteral("UPDATE [Search Engine] SET URL = ? WHERE SName = ?"), QVariantList{QString(address() + tail), name},
                   QStringLiteral("test")).finish();
        return true;
    } catch (const CDaoException &) {
        return false;
    }
}

bool RunEngineSim::startWithHttps(const QStringList &extraArgs)
{
    m_certificateDir = std::make_unique<QTemporaryDir>();
    if (!m_certificateDir->isValid())
        return false;
    if (!start(QStringList{QStringLiteral("--https-port"), QStringLiteral("0"), QStringLiteral("--cert-file"),
                           certificateFile()}
               + extraArgs))
        return false;
    // "https-port N" follows the "port N" line that start() read.
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        while (m_process.canReadLine()) {
            const QByteArray line = m_process.readLine().trimmed();
            if (line.startsWith("https-port ")) {
                m_nHttpsPort = line.mid(11).toInt();
                return m_nHttpsPort > 0;
            }
        }
        if (!m_process.waitForReadyRead(int(deadline.remainingTime())))
            break;
    }
    return false;
}

QString RunEngineSim::certificateFile() const
{
    return m_certificateDir ? m_certificateDir->filePath(QStringLiteral("enginesim-cert.pem")) : QString();
}

QString RunEngineSim::httpBase() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_nPort);
}

QString RunEngineSim::httpsBase() const
{
    return QStringLiteral("https://127.0.0.1:%1").arg(m_nHttpsPort);
}
