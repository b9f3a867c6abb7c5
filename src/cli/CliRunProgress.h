#pragma once

#include <QString>

#include <cstdio>

// How `trawlex-cli run` shows a run's progress on stderr: a bar redrawn in place when stderr
// is a terminal, one plain line per status change otherwise (logs, tests, pipes).
class CliRunProgress final
{
public:
    explicit CliRunProgress(FILE *to = stderr);
    ~CliRunProgress();
    CliRunProgress(const CliRunProgress &) = delete;
    CliRunProgress &operator=(const CliRunProgress &) = delete;

    void status(const QString &text);
    void progress(int percent);
    // Ends the bar's line; further output starts on a fresh line.
    void finish();

private:
    void drawBar();

    FILE *m_pTo;
    bool m_bTerminal;
    bool m_bBarShown = false;
    int m_nPercent = 0;
    QString m_strLast;
};
