#include "CDefinitionTables.h"

#include "CTrawlexDatabase.h"

#include <QSet>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

CDefinitionTables::CDefinitionTables(CTrawlexDatabase &db)
    : m_db(db)
{
}

int CDefinitionTables::insertFilter(int qid, const QString &type)
{
    QSqlQuery &q = m_db.run(QStringLiteral("INSERT INTO [Query Filter] (QID, FType) VALUES (?, ?)"), {qid, type},
                            QStringLiteral("[Query Filter] insert"));
    const int fid = q.lastInsertId().toInt();
    q.finish();
    return fid;
}

int CDefinitionTables::insertKeyword(int qid)
{
    QSqlQuery &q = m_db.run(QStringLiteral("INSERT INTO [Query Keyword] (QID) VALUES (?)"), {qid},
                            QStringLiteral("[Query Keyword] insert"));
    const int kid = q.lastInsertId().toInt();
    q.finish();
    return kid;
}

int CDefinitionTables::insertGroup(int qid, const QString &qualifier, const QString &name)
{
    QSqlQuery &q = m_db.run(QStringLiteral("INSERT INTO [Query Group] (QID, Qualif, GName) VALUES (?, ?, ?)"),
                            {qid, qualifier, name}, QStringLiteral("[Query Group] insert"));
    const int gid = q.lastInsertId().toInt();
    q.finish();
    return gid;
}

void CDefinitionTables::insertWord(const QString &ownerColumn, int qid, int owner, const QString &qualifier,
                                   const QString &word)
{
    m_db.run(QStringLiteral("INSERT INTO [Query Content] (QID, %1, Qualif, KeyWord) VALUES (?, ?, ?, ?)").arg(ownerColumn),
             {qid, owner, qualifier, word}, QStringLiteral("[Query Content] insert"))
        .finish();
}

void CDefinitionTables::insertKeywordWord(int qid, int kid, const QString &qualifier, const QString &word)
{
    insertWord(QStringLiteral("KID"), qid, kid, qualifier, word);
}

void CDefinitionTables::insertGroupWord(int qid, int gid, const QString &qualifier, const QString &word)
{
    insertWord(QStringLiteral("GID"), qid, gid, qualifier, word);
}

void CDefinitionTables::insertFilterWord(int qid, int fid, const QString &qualifier, const QString &word)
{
    insertWord(QStringLiteral("FID"), qid, fid, qualifier, word);
}

QList<CDefinitionTables::Filter> CDefinitionTables::filters(int qid)
{
    QSqlQuery &q = m_db.run(QStringLiteral("SELECT FID, FType FROM [Query Filter] WHERE QID = ? ORDER BY FID"), {qid},
                            QStringLiteral("[Query Filter] list"));
    QList<Filter> list;
    while (q.next())
        list.append({q.value(0).toInt(), q.value(1).toString()});
    q.finish();
    return list;
}

QList<int> CDefinitionTables::keywordIds(int qid)
{
    QSqlQuery &q = m_db.run(QStringLiteral("SELECT KID FROM [Query Keyword] WHERE QID = ? ORDER BY KID"), {qid},
                            QStringLiteral("[Query Keyword] list"));
    QList<int> list;
    while (q.next())
        list << q.value(0).toInt();
    q.finish();
    return list;
}

QList<CDefinitionTables::Group> CDefinitionTables::groups(int qid)
{
    QSqlQuery &q = m_db.run(QStringLiteral("SELECT GID, Qualif, GName FROM [Query Group] WHERE QID = ? ORDER BY GID"),
                            {qid}, QStringLiteral("[Query Group] list"));
    QList<Group> list;
    while (q.next())
        list.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString()});
    q.finish();
    return list;
}

QList<CDefinitionTables::Word> CDefinitionTables::words(const QString &ownerColumn, int owner)
{
    // -1 means "no owner of this kind" and must never match the words of other owners.
    if (owner == -1)
        return {};
    QSqlQuery &q = m_db.run(
        QStringLiteral("SELECT Qualif, KeyWord FROM [Query Content] WHERE %1 = ? ORDER BY rowid").arg(ownerColumn),
        {owner}, QStringLiteral("[Query Content] list"));
    QList<Word> list;
    while (q.next())
        list.append({q.value(0).toString(), q.value(1).toString()});
    q.finish();
    return list;
}

QList<CDefinitionTables::Word> CDefinitionTables::keywordWords(int kid)
{
    return words(QStringLiteral("KID"), kid);
}

QList<CDefinitionTables::Word> CDefinitionTables::groupWords(int gid)
{
    return words(QStringLiteral("GID"), gid);
}

QList<CDefinitionTables::Word> CDefinitionTables::filterWords(int fid)
{
    return words(QStringLiteral("FID"), fid);
}

QStringList CDefinitionTables::keywordsDistinct()
{
    // Lower-cased here rather than with SQLite's lower(), which leaves non-ASCII letters alone.
    QSqlQuery &q = m_db.run(QStringLiteral("SELECT KeyWord FROM [Query Content] WHERE KID <> -1"), {},
                            QStringLiteral("[Query Content] keywords"));
    QSet<QString> seen;
    QStringList words;
    while (q.next()) {
        const QString word = q.value(0).toString().toLower();
        if (!seen.contains(word)) {
            seen.insert(word);
            words << word;
        }
    }
    q.finish();
    std::sort(words.begin(), words.end());
    return words;
}

QList<StoredQueryRef> CDefinitionTables::queriesWithKeyword(const QString &keyword)
{
    QSqlQuery &q = m_db.run(
        QStringLiteral("SELECT DISTINCT m.QName, m.QID, c.KeyWord FROM [Main Query] m "
                       "JOIN [Query Content] c ON c.QID = m.QID ORDER BY m.QName, m.QID"),
        {}, QStringLiteral("[Query Content] queries of keyword"));
    const QString wanted = keyword.toLower();
    QList<StoredQueryRef> refs;
    while (q.next()) {
        if (q.value(2).toString().toLower() != wanted)
            continue;
        const StoredQueryRef ref{q.value(0).toString(), q.value(1).toInt()};
        if (refs.isEmpty() || !(refs.constLast() == ref))
            refs.append(ref);
    }
    q.finish();
    return refs;
}
