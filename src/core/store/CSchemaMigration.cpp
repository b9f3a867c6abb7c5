#include "CSchemaMigration.h"

#include "CDaoException.h"
#include "CTrawlexDatabase.h"

#include <QStringList>
#include <QVariant>

namespace {

// SQLITE_ERROR: the code a refused file is reported with.
constexpr int kSqliteError = 1;

const QString kSource = QStringLiteral("CSchemaMigration");

// Each step takes a file from version i to i + 1; the statements match res/tx.sql.
const QStringList &stepTo(int version)
{
    static const QList<QStringList> steps{
        // 1: engines added by the user.
        {QStringLiteral("CREATE TABLE [Engine Definition] ("
                        " SID INTEGER PRIMARY KEY REFERENCES [Search Engine] (SID) ON DELETE CASCADE,"
                        " Format TEXT NOT NULL,"
                        " Template TEXT NOT NULL,"
                        " Method TEXT NOT NULL DEFAULT 'GET',"
                        " Params TEXT NOT NULL DEFAULT '[]',"
                        " IndexOffset INTEGER NOT NULL DEFAULT 1,"
                        " PageOffset INTEGER NOT NULL DEFAULT 1,"
                        " PageSize INTEGER NOT NULL DEFAULT 10,"
                        " Operators TEXT NOT NULL DEFAULT '',"
                        " Mapping TEXT NOT NULL DEFAULT '',"
                        " Description TEXT NOT NULL DEFAULT '',"
                        " InputEncoding TEXT NOT NULL DEFAULT 'UTF-8',"
                        " Source TEXT NOT NULL DEFAULT '')")},
        // 2: the engines that returned each hit. A column rather than a table of its own: the
        // hits have no key to refer to, and a column with a default needs no copy of the rows,
        // which keep an empty list (not known).
        {QStringLiteral("ALTER TABLE [Query Results] ADD COLUMN Engines TEXT NOT NULL DEFAULT ''")},
    };
    return steps.at(version - 1);
}

} // namespace

int CSchemaMigration::version(CTrawlexDatabase &db)
{
    return db.scalar(QStringLiteral("PRAGMA user_version"), {}, kSource).toInt();
}

void CSchemaMigration::bringUpToDate(CTrawlexDatabase &db)
{
    const int found = version(db);
    if (found > kCurrentVersion)
        throw CDaoException(kSqliteError, db.path(),
                            QStringLiteral("The database '%1' was made by a newer Trawlex (its schema is version "
                                           "%2, this program knows versions up to %3). Open it with that "
                                           "newer Trawlex, or start this one in a folder with another tx.mdb.")
                                .arg(db.path())
                                .arg(found)
                                .arg(kCurrentVersion));
    if (found < kCurrentVersion) {
        CDbTransaction transaction(db);
        // Another program may have brought it up to date since the first look.
        const int start = version(db);
        for (int v = start + 1; v <= kCurrentVersion; ++v) {
            for (const QString &sql : stepTo(v))
                db.run(sql, {}, kSource);
        }
        // PRAGMA takes no bound value; the number is the program's own constant.
        db.run(QStringLiteral("PRAGMA user_version = %1").arg(kCurrentVersion), {}, kSource);
        transaction.commit();
    }
    // What the later versions added, which a file of this version must have.
    const QVariant present = db.scalar(
        QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'Engine Definition'"), {},
        kSource);
    if (present.toInt() != 1)
        throw CDaoException(kSqliteError, db.path(), QStringLiteral("no such table: Engine Definition"));
    const QVariant engines = db.scalar(
        QStringLiteral("SELECT count(*) FROM pragma_table_info('Query Results') WHERE name = 'Engines'"), {}, kSource);
    if (engines.toInt() != 1)
        throw CDaoException(kSqliteError, db.path(), QStringLiteral("no such column: [Query Results].Engines"));
}
