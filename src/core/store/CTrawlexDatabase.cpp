#include "CTrawlexDatabase.h"

#include "CDaoException.h"
#include "CSchemaMigration.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

// The core is a static library: its resources must be registered by hand.
static void initCoreResources()
{
    Q_INIT_RESOURCE(trawlex_core);
}

namespace {

// SQLite result codes used for the failures found before SQLite is asked.
constexpr int kSqliteError = 1;
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteCantOpen = 14;

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("trawlex-db-%1").arg(counter.fetchAndAddRelaxed(1));
}

} // namespace

const QStringList &CTrawlexDatabase::requiredTables()
{
    static const QStringList tables{
        QStringLiteral("Main Query"),    QStringLiteral("Search Engine"),
        QStringLiteral("Query Engines"), QStringLiteral("Query Filter"),
        QStringLiteral("Query Keyword"), QStringLiteral("Query Group"),
        QStringLiteral("Query Content"), QStringLiteral("Query Results"),
        QStringLiteral("Query Results Date"), QStringLiteral("Pages"),
        QStringLiteral("Yahoo"),
    };
    return tables;
}

CTrawlexDatabase::CTrawlexDatabase(const QString &path)
    : m_strPath(path)
    , m_strConnection(nextConnectionName())
{
    try {
        open();
        checkTables();
        // Only a file with every table of its own version is brought up to date; a damaged
        // one is reported as it is, never written to.
        CSchemaMigration::bringUpToDate(*this);
    } catch (...) {
        m_statements.clear();
        if (m_db.isValid())
            m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_strConnection);
        throw;
    }
}

CTrawlexDatabase::~CTrawlexDatabase()
{
    if (m_bInTransaction)
        rollback();
    m_statements.clear();
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_strConnection);
}

void CTrawlexDatabase::open()
{
    const QFileInfo info(m_strPath);
    // SQLite would quietly create a missing file; the program never makes its own tables.
    if (!info.exists() || !info.isFile())
        throw CDaoException(kSqliteCantOpen, m_strPath,
                            QStringLiteral("Could not find file '%1'.").arg(m_strPath));
    // A write-protected file would open read-only and fail at the first save instead.
    if (!info.isWritable())
        throw CDaoException(kSqliteReadOnly, m_strPath,
                            QStringLiteral("The database '%1' is read-only.").arg(m_strPath));
    // SQLite writes its rollback journal beside the file.
    if (!QFileInfo(info.absolutePath()).isWritable())
        throw CDaoException(kSqliteReadOnly, m_strPath,
                            QStringLiteral("The folder of the database '%1' is read-only.").arg(m_strPath));

    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_strConnection);
    if (!m_db.isValid())
        throw CDaoException(kSqliteCantOpen, m_strPath,
                            QStringLiteral("The SQLite driver of Qt is not available."));
    m_db.setDatabaseName(m_strPath);
    // Wait a little for another writer instead of failing at once on a locked file.
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    if (!m_db.open())
        throw CDaoException::fromSqlError(m_db.lastError(), m_strPath);

    // Dependent rows go with their query; SQLite wants this on every connection.
    QSqlQuery pragma(m_db);
    if (!pragma.exec(QStringLiteral("PRAGMA foreign_keys = ON")))
        throw CDaoException::fromSqlError(pragma.lastError(), m_strPath);
}

void CTrawlexDatabase::checkTables()
{
    // Reading the catalogue also finds a file that is not a database at all.
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")))
        throw CDaoException::fromSqlError(q.lastError(), m_strPath);
    QStringList present;
    while (q.next())
        present << q.value(0).toString();
    for (const QString &table : requiredTables()) {
        if (!present.contains(table, Qt::CaseInsensitive))
            throw CDaoException(kSqliteError, m_strPath,
                                QStringLiteral("no such table: %1").arg(table));
    }
}

QStringList CTrawlexDatabase::prebuiltCandidates()
{
    QStringList candidates;
    const QString appDir = QCoreApplication::applicationDirPath();
    if (!appDir.isEmpty()) {
        candidates << QDir(appDir).filePath(fileName());
        candidates << QDir(appDir).filePath(QStringLiteral("../share/trawlex/") + fileName());
    }
    const QStringList dataDirs = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString &dir : dataDirs)
        candidates << QDir(dir).filePath(QStringLiteral("trawlex/") + fileName());
    for (QString &c : candidates)
        c = QDir::cleanPath(c);
    candidates.removeDuplicates();
    return candidates;
}

QString CTrawlexDatabase::locate()
{
    const QString inCurrent = QDir::current().filePath(fileName());
    if (QFileInfo::exists(inCurrent))
        return inCurrent;

    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString inData = QDir(dataDir).filePath(fileName());
    if (QFileInfo::exists(inData))
        return inData;

    for (const QString &source : prebuiltCandidates()) {
        if (!QFileInfo::exists(source))
            continue;
        if (!QDir().mkpath(dataDir) || !QFile::copy(source, inData))
            throw CDaoException(kSqliteCantOpen, inData,
                                QStringLiteral("Could not copy '%1' to '%2'.").arg(source, inData));
        // Installed copies are read-only; the user's copy must take writes.
        QFile::setPermissions(inData, QFile::ReadOwner | QFile::WriteOwner);
        return inData;
    }
    throw CDaoException(kSqliteCantOpen, fileName(),
                        QStringLiteral("Could not find file '%1' in '%2' or '%3'.")
                            .arg(fileName(), QDir::currentPath(), dataDir));
}

QStringList CTrawlexDatabase::splitScript(const QString &script)
{
    QStringList statements;
    QString current;
    const qsizetype n = script.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = script.at(i);
        if (c == u'-' && i + 1 < n && script.at(i + 1) == u'-') {
            while (i < n && script.at(i) != u'\n')
                ++i;
            current += u'\n';
            continue;
        }
        if (c == u'/' && i + 1 < n && script.at(i + 1) == u'*') {
            const qsizetype end = script.indexOf(QStringLiteral("*/"), i + 2);
            i = end < 0 ? n : end + 1;
            current += u' ';
            continue;
        }
        if (c == u'\'' || c == u'"' || c == u'[') {
            const QChar close = c == u'[' ? QChar(u']') : c;
            qsizetype end = script.indexOf(close, i + 1);
            if (end < 0)
                end = n - 1;
            current += QStringView(script).mid(i, end - i + 1);
            i = end;
            continue;
        }
        if (c == u';') {
            if (!current.trimmed().isEmpty())
                statements << current.trimmed();
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

void CTrawlexDatabase::createFromSchema(const QString &path)
{
    if (QFileInfo::exists(path))
        throw CDaoException(kSqliteCantOpen, path, QStringLiteral("The file '%1' already exists.").arg(path));
    initCoreResources();
    QFile schemaFile(QStringLiteral(":/trawlex/tx.sql"));
    if (!schemaFile.open(QIODevice::ReadOnly))
        throw CDaoException(kSqliteCantOpen, schemaFile.fileName(),
                            QStringLiteral("The built-in schema is missing."));
    const QStringList statements = splitScript(QString::fromUtf8(schemaFile.readAll()));

    const QString connection = nextConnectionName();
    CDaoException error(0, {}, {});
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        if (!db.open()) {
            error = CDaoException::fromSqlError(db.lastError(), path);
        } else {
            QSqlQuery q(db);
            for (const QString &sql : statements) {
                if (!q.exec(sql)) {
                    error = CDaoException::fromSqlError(q.lastError(), path);
                    break;
                }
            }
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (error.code() != 0) {
        QFile::remove(path);
        throw error;
    }
}

QSqlQuery &CTrawlexDatabase::statement(const QString &sql)
{
    auto it = m_statements.find(sql);
    if (it != m_statements.end()) {
        (*it)->finish();
        return **it;
    }
    auto query = std::make_shared<QSqlQuery>(m_db);
    query->setForwardOnly(true);
    if (!query->prepare(sql))
        throw CDaoException::fromSqlError(query->lastError(), sql);
    m_statements.insert(sql, query);
    return *query;
}

void CTrawlexDatabase::exec(QSqlQuery &query, const QString &source)
{
    if (!query.exec())
        throw CDaoException::fromSqlError(query.lastError(), source);
}

QSqlQuery &CTrawlexDatabase::run(const QString &sql, const QVariantList &values, const QString &source)
{
    QSqlQuery &q = statement(sql);
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QVariant &v = values.at(i);
        // A null QString would be bound as NULL; every text column holds text, empty or not.
        if (v.typeId() == QMetaType::QString && v.toString().isNull())
            q.bindValue(int(i), QString(QLatin1String("")));
        else
            q.bindValue(int(i), v);
    }
    exec(q, source);
    return q;
}

QVariant CTrawlexDatabase::scalar(const QString &sql, const QVariantList &values, const QString &source)
{
    QSqlQuery &q = run(sql, values, source);
    QVariant value;
    if (q.next())
        value = q.value(0);
    q.finish();
    return value;
}

void CTrawlexDatabase::runControl(const QString &sql)
{
    // Run as a statement of its own rather than through QSqlDatabase::commit() and the like,
    // whose error drops SQLite's result code: a locked file must be told from a broken one.
    QSqlQuery q(m_db);
    if (!q.exec(sql))
        throw CDaoException::fromSqlError(q.lastError(), sql);
}

void CTrawlexDatabase::beginTransaction()
{
    runControl(QStringLiteral("BEGIN"));
    m_bInTransaction = true;
}

void CTrawlexDatabase::commit()
{
    // Finished statements release their read locks before the commit.
    for (const auto &q : std::as_const(m_statements))
        q->finish();
    try {
        runControl(QStringLiteral("COMMIT"));
    } catch (const CDaoException &) {
        rollback();
        throw;
    }
    m_bInTransaction = false;
}

void CTrawlexDatabase::rollback()
{
    for (const auto &q : std::as_const(m_statements))
        q->finish();
    m_db.rollback();
    m_bInTransaction = false;
}

CDbTransaction::CDbTransaction(CTrawlexDatabase &db)
    : m_db(db)
{
    m_db.beginTransaction();
}

CDbTransaction::~CDbTransaction()
{
    if (!m_bDone)
        m_db.rollback();
}

void CDbTransaction::commit()
{
    m_bDone = true;
    m_db.commit();
}
