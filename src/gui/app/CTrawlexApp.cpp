#include "app/CTrawlexApp.h"

#include "app/CTrawlexSettings.h"
#include "app/InternetSession.h"
#include "common/CMessageBoxPrompt.h"
#include "dialogs/CSettingsCommands.h"
#include "frame/CMainFrame.h"
#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "run/CRunMonitor.h"
#include "run/CUserEngines.h"
#include "startup/CStartupChecks.h"
#include "store/CDaoException.h"
#include "store/CTrawlexDoc.h"

#include <QTimer>

#include <cstdio>

namespace {
// Set by the start-up benchmark: print a line when the window has been drawn, then end.
bool reportFirstShow()
{
    return qEnvironmentVariableIsSet("TRAWLEX_REPORT_SHOWN");
}

class CFirstPaintWatcher final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            std::fputs("shown\n", stdout);
            std::fflush(stdout);
            watched->removeEventFilter(this);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

CTrawlexApp::CTrawlexApp(int &argc, char **argv)
    : QApplication(argc, argv)
{
    SetIdentity();
    // Lets Wayland and the task bar match the window to the installed trawlex.desktop.
    setDesktopFileName(QStringLiteral("trawlex"));
    setWindowIcon(QIcon(QStringLiteral(":/trawlex/trawlex.png")));
}

CTrawlexApp::~CTrawlexApp()
{
    // The window goes before the objects it shows; the document last.
    m_frame.reset();
    m_monitor.reset();
    SetActiveTrawlexDoc(nullptr);
}

void CTrawlexApp::SetIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel Software"));
    QCoreApplication::setApplicationName(QStringLiteral("Trawlex"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.12"));
}

CTrawlexApp *CTrawlexApp::instance()
{
    return qobject_cast<CTrawlexApp *>(QCoreApplication::instance());
}

bool CTrawlexApp::IsInternetSessionActive() const
{
    return ::IsInternetSessionActive(m_settings->DirectConnection);
}

bool CTrawlexApp::InitInstance()
{
    m_prompt = std::make_unique<CMessageBoxPrompt>();
    m_settings = std::make_unique<CTrawlexSettings>();
    m_settings->load();
    // The connection type (asked when none is stored) and the session test come before
    // anything else; there is no main window yet to own the question.
    CStartupChecks checks(*m_settings, *m_prompt, nullptr);
    if (!checks.SettleConnection()) {
        m_nExitCode = 1;
        return false;
    }

    m_doc = std::make_unique<CTrawlexDoc>();
    if (!m_doc->OpenDatabase(QString(), m_prompt.get())) {
        m_nExitCode = 1;
        return false;
    }
    SetActiveTrawlexDoc(m_doc.get());
    m_doc->m_bFirstNewDocument = false;

    m_monitor = std::make_unique<CRunMonitor>(*m_doc, m_doc->Query(), m_doc->ResultsSet(), *m_prompt);
    m_frame = std::make_unique<CMainFrame>(*m_doc, *m_settings, *m_monitor, *m_prompt);
    CSettingsCommands *commands = InstallSettingsCommands(*m_frame, *m_settings, *m_prompt);
    m_prompt->setParentWidget(m_frame.get());
    if (reportFirstShow())
        m_frame->installEventFilter(new CFirstPaintWatcher(m_frame.get()));
    m_frame->show();

    try {
        m_doc->LoadEngineAddressList();
        const QStringList damaged = CUserEngines(m_doc->Database()).load();
        if (!damaged.isEmpty())
            m_prompt->showMessage(QStringLiteral("Error!  These engines cannot be read and are left out:\n")
                                  + damaged.join(QLatin1Char('\n')));
    } catch (const CDaoException &e) {
        ReportDaoError(e, m_prompt.get());
    }
    // At the first and second start and every tenth after: offer the version check.
    checks.OfferVersionCheck(commands->versionCheck());
    return true;
}

bool CTrawlexApp::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const CDaoException &e) {
        ReportDaoError(e, m_prompt.get());
    }
    return false;
}
