#include "CliRunProgress.h"

#include <QByteArray>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr int kBarWidth = 30;

bool stderrIsTerminal()
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

} // namespace

CliRunProgress::CliRunProgress(FILE *to)
    : m_pTo(to)
    , m_bTerminal(to == stderr && stderrIsTerminal())
{
}

CliRunProgress::~CliRunProgress()
{
    finish();
}

void CliRunProgress::status(const QString &text)
{
    if (text == m_strLast)
        return;
    m_strLast = text;
    if (m_bTerminal) {
        drawBar();
        return;
    }
    const QByteArray line = text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), m_pTo);
    std::fflush(m_pTo);
}

void CliRunProgress::progress(int percent)
{
    m_nPercent = qBound(0, percent, 100);
    if (m_bTerminal)
        drawBar();
}

void CliRunProgress::drawBar()
{
    const int filled = m_nPercent * kBarWidth / 100;
    QByteArray line = "\r[" + QByteArray(filled, '#') + QByteArray(kBarWidth - filled, '.') + "] ";
    line += QByteArray::number(m_nPercent).rightJustified(3) + "%  " + m_strLast.toUtf8();
    line += "\x1b[K"; // clear what a longer status left behind
    std::fwrite(line.constData(), 1, size_t(line.size()), m_pTo);
    std::fflush(m_pTo);
    m_bBarShown = true;
}

void CliRunProgress::finish()
{
    if (m_bBarShown) {
        std::fputc('\n', m_pTo);
        std::fflush(m_pTo);
        m_bBarShown = false;
    }
}
