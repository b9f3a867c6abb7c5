#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class QSqlQuery;

// The open tx.mdb: one SQLite connection with foreign keys on, a cache of prepared
// statements (so repeated inserts are cheap) and the transaction calls. Every failure throws
// CDaoException. Used from the thread that created it only.
class CTrawlexDatabase final
{
public:
    // Opens an existing database file. Throws when the file is missing, is not a database,
    // cannot be written or lacks one of the tables (which is reported, never repaired).
    explicit CTrawlexDatabase(const QString &path);
    ~CTrawlexDatabase();
    CTrawlexDatabase(const CTrawlexDatabase &) = delete;
    CTrawlexDatabase &operator=(const CTrawlexDatabase &) = delete;

    static QString fileName() { return QStringLiteral("tx.mdb"); }
    // The tables the program needs, spelled as the statements spell them.
    static const QStringList &requiredTables();

    // Where the program's tx.mdb is: the current directory first, then the user's data
    // folder, where the pre-built file is copied on first start. Throws when there is none.
    static QString locate();
    // Places the pre-built file is looked for (beside the executable, the installed data).
    static QStringList prebuiltCandidates();

    // Writes a fresh database at path from the embedded schema; path must not exist.
    // Throws on any failure (a partly written file is removed).
    static void createFromSchema(const QString &path);
    // Splits an SQL script into single statements (quotes, brackets and comments respected).
    static QStringList splitScript(const QString &script);

    const QString &path() const { return m_strPath; }

    // A prepared statement for this exact text, kept for the connection's life. Callers bind,
    // run it through exec() and read all rows before issuing it again.
    QSqlQuery &statement(const QString &sql);
    // Runs a prepared statement; throws with source on failure.
    void exec(QSqlQuery &query, const QString &source);
    // Prepares, binds the values in order and runs; returns the still active query.
    QSqlQuery &run(const QString &sql, const QVariantList &values, const QString &source);
    // The first column of the first row, or an invalid value when there is no row.
    QVariant scalar(const QString &sql, const QVariantList &values, const QString &source);

    void beginTransaction();
    void commit();
    void rollback(); // never throws: used on the way out of a failure
    bool inTransaction() const { return m_bInTransaction; }

private:
    void open();
    void checkTables();
    void runControl(const QString &sql);

    QString m_strPath;
    QString m_strConnection;
    QSqlDatabase m_db;
    QHash<QString, std::shared_ptr<QSqlQuery>> m_statements;
    bool m_bInTransaction = false;
};

// Commits on commit(), rolls back when left without it (a throw on the way).
class CDbTransaction final
{
public:
    explicit CDbTransaction(CTrawlexDatabase &db);
    ~CDbTransaction();
    CDbTransaction(const CDbTransaction &) = delete;
    CDbTransaction &operator=(const CDbTransaction &) = delete;
    void commit();

private:
    CTrawlexDatabase &m_db;
    bool m_bDone = false;
};
