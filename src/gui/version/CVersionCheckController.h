#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class CTrawlexCheckVersionDlg;
class CTrawlexCheckVersionThread;
class CTrawlexSettings;
class CVersionResultEvent;
class IClock;
class IUserPrompt;
class QWidget;

// The main window's side of the version check: starts the worker, keeps the wait dialog up,
// takes the worker's result (WM_VERSION_RESULT) and tells the user what it means.
class CVersionCheckController final : public QObject
{
    Q_OBJECT
public:
    // frame: the main window, parent of the dialogs and shown again after a failed check.
    CVersionCheckController(CTrawlexSettings &settings, IUserPrompt &prompt, QWidget *frame,
                            QObject *parent = nullptr);
    ~CVersionCheckController() override;

    // "host[:port]" of the version server and the maker's web host (the download page).
    void setServer(const QString &server) { m_strServer = server; }
    QString server() const { return m_strServer; }
    void setWebHost(const QString &host) { m_strWebHost = host; }
    QString webHost() const { return m_strWebHost; }
    void setTimeLimit(int ms) { m_nTimeLimitMs = ms; }
    // What the time limit follows; by default the system's clock.
    void setClock(IClock &clock) { m_pClock = &clock; }
    // Replaces the Internet session test (by default the one for the stored connection type).
    void setSessionTest(std::function<bool()> test) { m_sessionTest = std::move(test); }

    // The Check Version command: the session test, then the check.
    void OnCheckVersion();
    // Runs one check to its end: the worker, the modal wait dialog, the report. Returns when
    // the worker has ended.
    void StartVersionCheck();

    CTrawlexCheckVersionDlg *waitDialog();

protected:
    bool event(QEvent *event) override;

private:
    void OnVersionResult(CVersionResultEvent *event);
    void OpenDownloadPage();

    CTrawlexSettings &m_settings;
    IUserPrompt &m_prompt;
    QPointer<QWidget> m_pFrame;
    QString m_strServer;
    QString m_strWebHost;
    int m_nTimeLimitMs;
    IClock *m_pClock;
    std::function<bool()> m_sessionTest;
    std::unique_ptr<CTrawlexCheckVersionDlg> m_pWaitDlg;
    std::unique_ptr<CTrawlexCheckVersionThread> m_pThread;
    bool m_bWaiting = false; // the wait dialog is up and a result is wanted
};
