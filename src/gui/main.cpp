#include "app/CTrawlexApp.h"
#include "app/CTrawlexCommandLine.h"
#include "app/ProgramThreads.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    CTrawlexApp::SetIdentity();
    {
        // --help and --version answer before the window system is touched: they must work
        // over ssh and in scripts. Qt's own options are unknown here, so errors wait for later.
        CTrawlexCommandLine early;
        early.parse(CTrawlexCommandLine::arguments(argc, argv));
        if (early.wantsHelp() || early.wantsVersion()) {
            QCoreApplication core(argc, argv);
            if (early.wantsQtHelp() && !early.wantsVersion())
                early.showHelpWithQtOptions();
            const QString text = early.wantsVersion() ? CTrawlexCommandLine::versionText() + QLatin1Char('\n')
                                                      : early.helpText();
            std::fputs(text.toLocal8Bit().constData(), stdout);
            return 0;
        }
    }

    int code = 0;
    {
        CTrawlexApp app(argc, argv);
        // QApplication has taken out the options that are its own.
        CTrawlexCommandLine line;
        if (!line.parse(app.arguments())) {
            std::fprintf(stderr, "%s\n", line.errorText().toLocal8Bit().constData());
            return 2;
        }
        code = app.InitInstance() ? app.exec() : app.ExitCode();
    }
    // The window and its runs are gone with the application.
    ProgramThreads::WaitForEnd();
    return code;
}
