#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

// The program's command line: --help and --version, and nothing else the program takes.
// Read once before any application object exists, so those two print without a display.
class CTrawlexCommandLine final
{
public:
    CTrawlexCommandLine();

    // arguments: the program's name first. False when something is not understood.
    bool parse(const QStringList &arguments);
    bool wantsHelp() const;
    bool wantsVersion() const;
    // --help-all: the help with Qt's own options, which only Qt can print. Prints and ends
    // the program; needs an application object.
    bool wantsQtHelp() const;
    void showHelpWithQtOptions();
    // Why parse() refused, ending in a hint to --help.
    QString errorText() const;
    QString helpText() const;
    // "Trawlex 1.12": the application's name and version.
    static QString versionText();

    static QStringList arguments(int argc, char **argv);

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QString m_strError;
};
