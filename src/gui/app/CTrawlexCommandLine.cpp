#include "app/CTrawlexCommandLine.h"

#include <QCoreApplication>
#include <QFileInfo>

CTrawlexCommandLine::CTrawlexCommandLine()
    : m_help(QStringLiteral("placeholder"))
    , m_version(QStringLiteral("placeholder"))
{
    m_parser.setApplicationDescription(
        QStringLiteral("Asks several web search engines at once and keeps the results of your queries."));
    m_help = m_parser.addHelpOption();
    m_version = m_parser.addVersionOption();
}

bool CTrawlexCommandLine::parse(const QStringList &arguments)
{
    m_strError.clear();
    if (!m_parser.parse(arguments)) {
        m_strError = m_parser.errorText();
    } else if (!m_parser.positionalArguments().isEmpty()) {
        m_strError = QStringLiteral("Trawlex opens no files: '%1' is not understood.")
                         .arg(m_parser.positionalArguments().constFirst());
    }
    if (m_strError.isEmpty())
        return true;
    const QString program = arguments.isEmpty() ? QStringLiteral("trawlex") : QFileInfo(arguments.constFirst()).fileName();
    m_strError += QStringLiteral("\nTry '%1 --help' for the options.").arg(program);
    return false;
}

bool CTrawlexCommandLine::wantsHelp() const
{
    return m_parser.isSet(m_help) || wantsQtHelp();
}

bool CTrawlexCommandLine::wantsQtHelp() const
{
    return m_parser.isSet(QStringLiteral("help-all"));
}

void CTrawlexCommandLine::showHelpWithQtOptions()
{
    m_parser.process(QCoreApplication::arguments());
}

bool CTrawlexCommandLine::wantsVersion() const
{
    return m_parser.isSet(m_version);
}

QString CTrawlexCommandLine::errorText() const
{
    return m_strError;
}

QString CTrawlexCommandLine::helpText() const
{
    return m_parser.helpText();
}

QString CTrawlexCommandLine::versionText()
{
    return QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion();
}

QStringList CTrawlexCommandLine::arguments(int argc, char **argv)
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}
