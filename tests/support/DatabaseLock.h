#pragma once

#include <QString>

// Another program's hold on a tx.mdb: a connection of its own (not the program's) with an
// open transaction of the given kind, kept until release() or destruction.
class DatabaseLock final
{
public:
    enum class Kind {
        Exclusive, // BEGIN EXCLUSIVE: neither reads nor writes get through
        Immediate, // BEGIN IMMEDIATE: reads pass, writes wait and fail
        Shared,    // a read transaction left open: writes pass, a commit waits and fails
    };

    DatabaseLock() = default;
    ~DatabaseLock();
    DatabaseLock(const DatabaseLock &) = delete;
    DatabaseLock &operator=(const DatabaseLock &) = delete;

    // False (with error() saying why) when the lock could not be taken.
    bool take(const QString &path, Kind kind = Kind::Exclusive);
    void release();
    const QString &error() const { return m_strError; }

private:
    QString m_strConnection;
    QString m_strError;
};
