#pragma once

#include <QString>

#include <exception>

class IUserPrompt;
class QSqlError;

// The one error type of the database layer: every failed open or statement throws it.
class CDaoException final : public std::exception
{
public:
    CDaoException(int code, QString source, QString description);
    // Jet's "No current record.": what reading a row that is not there has always reported.
    static constexpr int kNoCurrentRecord = 3021;
    static CDaoException noCurrentRecord(const QString &source);
    // From a failed QtSql call; source names the operation that failed.
    static CDaoException fromSqlError(const QSqlError &error, const QString &source);

    int code() const { return m_nCode; }
    const QString &source() const { return m_strSource; }
    const QString &description() const { return m_strDescription; }

    // Another connection holds the file locked (SQLite's busy or locked result, extended
    // forms included): a failure the user can clear by closing the other program.
    bool IsDatabaseInUse() const;

    // "DAO error %d, SOURCE = %s, DESCR = %s"
    QString ReportText() const;
    const char *what() const noexcept override;

private:
    int m_nCode;
    QString m_strSource;
    QString m_strDescription;
    QByteArray m_what;
};

// Shows the report of a database error; prompt may be null (then it goes to stderr). A
// prompt that is also an IDatabaseErrorPrompt presents the failure its own way.
void ReportDaoError(const CDaoException &e, IUserPrompt *prompt);
