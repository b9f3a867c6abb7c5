#include "DatabaseLock.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

DatabaseLock::~DatabaseLock()
{
    release();
}

bool DatabaseLock::take(const QString &path, Kind kind)
{
    release();
    static QAtomicInt counter;
    m_strConnection = QStringLiteral("test-lock-%1").arg(counter.fetchAndAddRelaxed(1));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_strConnection);
    db.setDatabaseName(path);
    if (!db.open()) {
        m_strError = db.lastError().text();
        return false;
    }
    QSqlQuery q(db);
    QString begin = QStringLiteral("BEGIN");
    if (kind == Kind::Exclusive)
        begin = QStringLiteral("BEGIN EXCLUSIVE");
    else if (kind == Kind::Immediate)
        begin = QStringLiteral("BEGIN IMMEDIATE");
    if (!q.exec(begin)) {
        m_strError = q.lastError().text();
        return false;
    }
    // A deferred transaction takes its shared lock with the first read and keeps it.
    if (kind == Kind::Shared && (!q.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")) || !q.next())) {
        m_strError = q.lastError().text();
        return false;
    }
    return true;
}

void DatabaseLock::release()
{
    if (m_strConnection.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_strConnection, false);
        if (db.isOpen()) {
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_strConnection);
    m_strConnection.clear();
}
