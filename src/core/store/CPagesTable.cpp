#include "CPagesTable.h"

#include "CTrawlexDatabase.h"

#include <QSqlQuery>
#include <QVariant>

CPagesTable::CPagesTable(CTrawlexDatabase &db)
    : m_db(db)
{
}

void CPagesTable::insertPage(int qid, int viewLevel, int limit)
{
    m_db.run(QStringLiteral("INSERT INTO [Pages] (QID, nViewLevel, nLimit) VALUES (?, ?, ?)"), {qid, viewLevel, limit},
             QStringLiteral("[Pages] insert"))
        .finish();
}

QList<int> CPagesTable::pageLimits(int qid, int viewLevel)
{
    QSqlQuery &q = m_db.run(
        QStringLiteral("SELECT nLimit FROM [Pages] WHERE QID = ? AND nViewLevel = ? ORDER BY rowid"), {qid, viewLevel},
        QStringLiteral("[Pages] limits"));
    QList<int> limits;
    while (q.next())
        limits << q.value(0).toInt();
    q.finish();
    return limits;
}
