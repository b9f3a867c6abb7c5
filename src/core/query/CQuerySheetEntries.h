#pragma once

#include <QString>
#include <QStringList>

class CTrawlexQuery;
struct CTrawlexFilter;
struct CTrawlexGroup;
struct CTrawlexKeyword;

// The query as the property sheet keeps it: the entry texts of its hidden lists.
//   keyword entry  qualifier:keyword             include:apple
//   group entry    qualifier:group               exclude:fruit
//   member entry   group:qualifier:keyword       fruit:optional:pear
//   filter entry   type:qualifier:keyword        Title:include:apple
// The property sheet and the command line both read queries through this class.
class CQuerySheetEntries final
{
public:
    // Clears query and rebuilds it: the name trimmed, entries split as the sheet writes them
    // (empty entries skipped), engines in the fixed order of the engine page. A member whose
    // group is not found is dropped; an unknown engine name is ignored.
    void FillQuery(CTrawlexQuery &query) const;
    // The entries that show query in the sheet.
    static CQuerySheetEntries FromQuery(const CTrawlexQuery &query);

    static QString KeywordEntry(const CTrawlexKeyword &keyword);
    static QString GroupEntry(const CTrawlexGroup &group);
    static QString MemberEntry(const QString &groupName, const CTrawlexKeyword &member);
    static QString FilterEntry(const CTrawlexFilter &filter);

    // The pieces of an entry the pages compare: the text before the first ":" (empty when
    // there is none), after the first ":" (all of it when there is none), after the last ":"
    // (all of it when there is none), and between the first and the second ":".
    static QString BeforeFirstColon(const QString &entry);
    static QString AfterFirstColon(const QString &entry);
    static QString AfterLastColon(const QString &entry);
    static QString SecondField(const QString &entry);

    // The engine page's order: "AltaVista", "Excite", "HotBot", "InfoSeek", "Lycos",
    // "Magellan", "OpenText", "WebCrawler", "Worm", "Yahoo", then the added engines.
    static QStringList EngineOrder();
    static bool IsEngineName(const QString &name); // exact, letter case counts

    QString m_strName;
    QStringList m_keywordEntries;
    QStringList m_groupEntries;
    QStringList m_memberEntries;
    QStringList m_filterEntries;
    QStringList m_engines; // selected engine names, any order
};
