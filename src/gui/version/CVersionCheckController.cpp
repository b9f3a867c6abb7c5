#include "version/CVersionCheckController.h"

#include "app/CTrawlexSettings.h"
#include "app/IUserPrompt.h"
#include "app/InternetSession.h"
#include "common/WebPageOpener.h"
#include "version/CTrawlexCheckVersionDlg.h"
#include "version/CTrawlexCheckVersionThread.h"
#include "version/CTrawlexNewVersionDlg.h"
#include "version/CVersionReply.h"
#include "version/CVersionResultEvent.h"
#include "version/VersionResult.h"
#include "version/VersionServerSettings.h"
#include "app/ThreadHandOver.h"

#include <QWidget>

CVersionCheckController::CVersionCheckController(CTrawlexSettings &settings, IUserPrompt &prompt, QWidget *frame,
                                                 QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_prompt(prompt)
    , m_pFrame(frame)
    , m_strServer(VersionServerSettings::defaultServer())
    , m_strWebHost(VersionServerSettings::defaultWebHost())
    , m_nTimeLimitMs(CTrawlexCheckVersionThread::kTimeLimitMs)
    , m_pClock(&CSystemClock::instance())
{
}

CVersionCheckController::~CVersionCheckController()
{
    m_bWaiting = false;
    m_pThread.reset();
}

CTrawlexCheckVersionDlg *CVersionCheckController::waitDialog()
{
    if (!m_pWaitDlg)
        m_pWaitDlg = std::make_unique<CTrawlexCheckVersionDlg>(m_pFrame);
    return m_pWaitDlg.get();
}

void CVersionCheckController::OnCheckVersion()
{
    const bool active = m_sessionTest ? m_sessionTest() : IsInternetSessionActive(m_settings.DirectConnection);
    if (!active) {
        m_prompt.showMessage(QStringLiteral("Error!  Internet session must be active to do version check."));
        return;
    }
    StartVersionCheck();
}

void CVersionCheckController::StartVersionCheck()
{
    // The wait dialog is modal, so a second check cannot be asked for while one runs.
    if (m_pThread)
        return;
    m_pThread = std::make_unique<CTrawlexCheckVersionThread>(this, m_strServer, m_nTimeLimitMs, *m_pClock);
    m_pThread->start();

    m_bWaiting = true;
    const int code = waitDialog()->exec();
    const bool cancelled = m_bWaiting && code != CTrawlexCheckVersionDlg::kEndedByResult;
    m_bWaiting = false;
    if (cancelled)
        m_pThread->Cancel();
    // Ends the worker; a result it posted meanwhile is taken and released without a word.
    m_pThread.reset();
}

bool CVersionCheckController::event(QEvent *event)
{
    ThreadHandOver::received(event);
    if (event->type() == CVersionResultEvent::WM_VERSION_RESULT) {
        OnVersionResult(static_cast<CVersionResultEvent *>(event));
        return true;
    }
    return QObject::event(event);
}

void CVersionCheckController::OnVersionResult(CVersionResultEvent *event)
{
    if (!m_bWaiting) {
        // The user cancelled before the result came in.
        event->release();
        return;
    }
    m_bWaiting = false;
    if (m_pWaitDlg)
        m_pWaitDlg->done(CTrawlexCheckVersionDlg::kEndedByResult);

    const VersionResult *result = event->result();
    if (!result || result->nStatus == 0) {
        event->release();
        m_prompt.showMessage(QStringLiteral("Error! Quorvel Software Server is temporarily down.  Please try again later."));
        if (m_pFrame) {
            m_pFrame->show();
            m_pFrame->update();
        }
        return;
    }

    const CVersionReply reply(result->strReply);
    // Everything needed is copied: the worker may go on and free the record.
    event->release();

    switch (reply.outcome()) {
    case CVersionReply::Outcome::Unreadable:
        return;
    case CVersionReply::Outcome::Current:
        m_prompt.showMessage(QStringLiteral("You are using the most current version of Trawlex."));
        return;
    case CVersionReply::Outcome::Newer: {
        CTrawlexNewVersionDlg dlg(reply.ownVersion(), reply.currentVersion(), reply.features(), m_pFrame);
        if (dlg.exec() == QDialog::Accepted)
            OpenDownloadPage();
        return;
    }
    }
}

void CVersionCheckController::OpenDownloadPage()
{
    WebPageOpener::Open(VersionServerSettings::downloadPageOn(m_strWebHost), &m_prompt);
}
