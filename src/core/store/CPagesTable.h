#pragma once

#include <QList>

class CTrawlexDatabase;

// Statements on [Pages], the paging state of the results view.
class CPagesTable final
{
public:
    explicit CPagesTable(CTrawlexDatabase &db);

    void insertPage(int qid, int viewLevel, int limit);
    // Every stored limit of the page in the order stored (past-the-end rows of -1 may repeat).
    QList<int> pageLimits(int qid, int viewLevel);

private:
    CTrawlexDatabase &m_db;
};
