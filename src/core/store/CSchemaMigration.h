#pragma once

class CTrawlexDatabase;

// Brings a tx.mdb made by an earlier program up to the schema of res/tx.sql, whose version is
// kept in SQLite's user_version (0 for the files of release 1.12). All steps run in one
// transaction: a failure leaves the file exactly as it was. A file newer than this program is
// refused rather than written to.
class CSchemaMigration final
{
public:
    static constexpr int kCurrentVersion = 2;

    // Throws CDaoException when the file is newer than the program or a step fails.
    static void bringUpToDate(CTrawlexDatabase &db);

    static int version(CTrawlexDatabase &db);
};
