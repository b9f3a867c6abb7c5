#pragma once

#include "StoredQueryRef.h"

#include <QList>
#include <QString>
#include <QStringList>

class CTrawlexDatabase;

// Statements on the tables that hold a query's definition: [Query Keyword], [Query Group],
// [Query Filter] and the words of all three in [Query Content].
class CDefinitionTables final
{
public:
    struct Filter
    {
        int fid = -1;
        QString type;
    };
    struct Group
    {
        int gid = -1;
        QString qualifier;
        QString name;
    };
    struct Word
    {
        QString qualifier;
        QString word;
    };

    explicit CDefinitionTables(CTrawlexDatabase &db);

    // Each insert returns the new row's key.
    int insertFilter(int qid, const QString &type);
    int insertKeyword(int qid);
    int insertGroup(int qid, const QString &qualifier, const QString &name);
    // The two owner columns not named keep -1.
    void insertKeywordWord(int qid, int kid, const QString &qualifier, const QString &word);
    void insertGroupWord(int qid, int gid, const QString &qualifier, const QString &word);
    void insertFilterWord(int qid, int fid, const QString &qualifier, const QString &word);

    // All in key order.
    QList<Filter> filters(int qid);
    QList<int> keywordIds(int qid);
    QList<Group> groups(int qid);
    QList<Word> keywordWords(int kid);
    QList<Word> groupWords(int gid);
    QList<Word> filterWords(int fid);

    // The words of plain keywords (never of groups or filters), lower case, each once, sorted.
    QStringList keywordsDistinct();
    // Queries with a word equal to keyword, letter case ignored, by name (each once).
    QList<StoredQueryRef> queriesWithKeyword(const QString &keyword);

private:
    void insertWord(const QString &ownerColumn, int qid, int owner, const QString &qualifier, const QString &word);
    QList<Word> words(const QString &ownerColumn, int owner);

    CTrawlexDatabase &m_db;
};
