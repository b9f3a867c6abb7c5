#include "CDaoException.h"

#include "app/IDatabaseErrorPrompt.h"
#include "app/IUserPrompt.h"

#include <QSqlError>
#include <QTextStream>

#include <utility>

CDaoException::CDaoException(int code, QString source, QString description)
    : m_nCode(code)
    , m_strSource(std::move(source))
    , m_strDescription(std::move(description))
    , m_what(ReportText().toUtf8())
{
}

CDaoException CDaoException::fromSqlError(const QSqlError &error, const QString &source)
{
    // SQLite's own result code is the most useful number; fall back to 1 (generic error)
    // when the driver gave none, so a failure never reads as "error 0".
    bool ok = false;
    int code = error.nativeErrorCode().toInt(&ok);
    if (!ok || code == 0)
        code = 1;
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.driverText();
    if (text.isEmpty())
        text = QStringLiteral("unknown database error");
    return CDaoException(code, source, text);
}

CDaoException CDaoException::noCurrentRecord(const QString &source)
{
    return CDaoException(kNoCurrentRecord, source, QStringLiteral("No current record."));
}

bool CDaoException::IsDatabaseInUse() const
{
    // SQLITE_BUSY 5 and SQLITE_LOCKED 6, and their extended codes (busy recovery, snapshot
    // and timeout; locked shared cache and virtual table). Listed one by one: the program's
    // own codes (Jet's numbers, 3000 and up) would match a mask on the low byte.
    switch (m_nCode) {
    case 5:
    case 6:
    case 5 | (1 << 8):
    case 5 | (2 << 8):
    case 5 | (3 << 8):
    case 6 | (1 << 8):
    case 6 | (2 << 8):
        return true;
    default:
        return false;
    }
}

QString CDaoException::ReportText() const
{
    // Built with arg() rather than a fixed buffer, so a long description cannot overrun.
    return QStringLiteral("DAO error %1, SOURCE = %2, DESCR = %3")
        .arg(m_nCode)
        .arg(m_strSource, m_strDescription);
}

const char *CDaoException::what() const noexcept
{
    return m_what.constData();
}

void ReportDaoError(const CDaoException &e, IUserPrompt *prompt)
{
    if (auto *own = dynamic_cast<IDatabaseErrorPrompt *>(prompt)) {
        own->showDatabaseError(e);
        return;
    }
    if (prompt) {
        prompt->showMessage(e.ReportText());
        return;
    }
    QTextStream(stderr) << e.ReportText() << '\n';
}
