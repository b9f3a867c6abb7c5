#pragma once

class CTrawlexDatabase;
class CTrawlexQuery;

// A query's definition in the file: its engines in [Query Engine] and its keywords, groups
// and filters in the definition tables. Every failure throws CDaoException.
class CStoredQueryDefinition final
{
public:
    explicit CStoredQueryDefinition(CTrawlexDatabase &db);

    // Replaces query with the stored query qid, rows in key order. A missing content row of
    // a keyword or filter, or a missing query, throws (query is left as far as it was filled).
    void load(int qid, CTrawlexQuery &query);
    // Under the [Main Query] row qid; an engine [Search Engine] does not know throws.
    void insert(int qid, const CTrawlexQuery &query);

private:
    CTrawlexDatabase &m_db;
};
