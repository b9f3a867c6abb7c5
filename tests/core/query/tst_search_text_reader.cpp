#include "query/CQuerySheetEntries.h"
#include "query/CSearchTextReader.h"

#include <QTest>

// The search field's text, read into the query model. Keywords and filters are compared in
// the sheet's entry forms, so one row shows the whole reading.
class TestSearchTextReader final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("keywords");
        QTest::addColumn<QStringList>("filters");
        QTest::addColumn<int>("notes");

        const QStringList none;
        QTest::newRow("words") << "apple  pie" << QStringList{"include:apple", "include:pie"} << none << 0;
        QTest::newRow("plus is include") << "+apple" << QStringList{"include:apple"} << none << 0;
        QTest::newRow("excluded word") << "apple -pie" << QStringList{"include:apple", "exclude:pie"} << none << 0;
        QTest::newRow("phrase") << "\"green tea\" cake"
                                << QStringList{"include:green tea", "include:cake"} << none << 0;
        QTest::newRow("excluded phrase") << "tea -\"green  tea\""
                                         << QStringList{"include:tea", "exclude:green tea"} << none << 0;
        QTest::newRow("or") << "pie apple OR pear"
                            << QStringList{"include:pie", "optional:apple", "optional:pear"} << none << 0;
        QTest::newRow("or in parentheses, three sides") << "pie (apple OR pear OR fig)"
            << QStringList{"include:pie", "optional:apple", "optional:pear", "optional:fig"} << none << 0;
        QTest::newRow("lower-case or is a word") << "apple or pear"
            << QStringList{"include:apple", "include:or", "include:pear"} << none << 0;
        QTest::newRow("filters") << "apple site:example.com inurl:recipes intitle:Pie"
            << QStringList{"include:apple"}
            << QStringList{"URL:include:example.com", "URL:include:recipes", "Title:include:Pie"} << 0;
        QTest::newRow("operator names ignore case") << "Site:example.com" << none
                                                    << QStringList{"URL:include:example.com"} << 0;
        QTest::newRow("excluded filters") << "apple -site:spam.com -intitle:ad -inurl:track"
            << QStringList{"include:apple"}
            << QStringList{"URL:exclude:spam.com", "Title:exclude:ad", "URL:exclude:track"} << 0;
        QTest::newRow("quoted filter") << "intitle:\"apple pie\"" << none
                                       << QStringList{"Title:include:apple pie"} << 0;
        QTest::newRow("site with scheme") << "site:https://example.com/" << none
                                          << QStringList{"URL:include:example.com"} << 0;
        QTest::newRow("filter with a colon") << "site:example.com:8080" << none
                                             << QStringList{"URL:include:example.com 8080"} << 1;
        QTest::newRow("unknown operator is a word") << "link:example.com"
                                                    << QStringList{"include:link:example.com"} << none << 0;
        QTest::newRow("apostrophe kept") << "o'brien" << QStringList{"include:o'brien"} << none << 0;
        QTest::newRow("unicode") << QString::fromUtf8("æble -kage")
                                 << QStringList{QString::fromUtf8("include:æble"), "exclude:kage"} << none << 0;

        // Read as plainly as possible, with a note.
        QTest::newRow("unclosed quote") << "apple \"green tea" << QStringList{"include:apple", "include:green tea"}
                                        << none << 1;
        QTest::newRow("unclosed excluded quote") << "apple -\"green" << QStringList{"include:apple", "exclude:green"}
                                                 << none << 1;
        QTest::newRow("lone minus") << "apple - pie" << QStringList{"include:apple", "include:pie"} << none << 1;
        QTest::newRow("lone or") << "OR" << none << none << 1;
        QTest::newRow("trailing or") << "apple OR" << QStringList{"include:apple"} << none << 1;
        QTest::newRow("or beside a filter") << "apple OR site:a.com" << QStringList{"include:apple"}
                                            << QStringList{"URL:include:a.com"} << 1;
        QTest::newRow("empty site") << "apple site:" << QStringList{"include:apple"} << none << 1;
        QTest::newRow("empty quotes") << "apple \"\"" << QStringList{"include:apple"} << none << 1;
        QTest::newRow("two or choices") << "a OR b c OR d"
            << QStringList{"optional:a", "optional:b", "optional:c", "optional:d"} << none << 1;
        QTest::newRow("minus before parentheses") << "pie -(apple OR pear)"
            << QStringList{"include:pie", "exclude:apple", "exclude:pear"} << none << 1;
        QTest::newRow("stray parentheses") << "apple) (pie" << QStringList{"include:apple", "include:pie"} << none << 0;
        QTest::newRow("parenthesis inside a phrase") << "\"a (b) c\"" << QStringList{"include:a b c"} << none << 0;

        // Duplicates: one keyword per word (letter case ignored), one filter per type and word.
        QTest::newRow("duplicate word") << "apple Apple apple" << QStringList{"include:apple"} << none << 0;
        QTest::newRow("contradicting duplicate") << "apple -apple" << QStringList{"include:apple"} << none << 1;
        QTest::newRow("duplicate filter") << "site:a.com site:A.com intitle:a.com"
            << none << QStringList{"URL:include:a.com", "Title:include:a.com"} << 0;
        QTest::newRow("empty") << "   " << none << none << 0;
    }

    void reading()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, keywords);
        QFETCH(QStringList, filters);
        QFETCH(int, notes);

        const CSearchTextReader::Reading reading = CSearchTextReader::Read(text);
        const CQuerySheetEntries entries = CQuerySheetEntries::FromQuery(reading.query);
        QCOMPARE(entries.m_keywordEntries, keywords);
        QCOMPARE(entries.m_filterEntries, filters);
        QVERIFY(reading.query.m_groups.isEmpty());
        QVERIFY(reading.query.m_strName.isEmpty());
        QVERIFY(reading.query.m_engines.isEmpty());
        QVERIFY2(reading.notes.size() == notes, qPrintable(reading.notes.join(QLatin1Char('|'))));

        // What the sheet would hold reads back into the same query.
        CTrawlexQuery back;
        entries.FillQuery(back);
        QCOMPARE(back, reading.query);
    }

    void booleanText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("boolean");
        QTest::newRow("phrase quoted") << "\"green tea\" -pie" << "\"green tea\" not pie \r\n";
        QTest::newRow("or") << "cake tea OR coffee" << "cake or tea or coffee \r\n";
        QTest::newRow("filter") << "cake -site:spam.com" << "cake \r\nnot URL:spam.com\r\n";
    }

    void booleanText()
    {
        QFETCH(QString, text);
        QFETCH(QString, boolean);
        QCOMPARE(CSearchTextReader::Read(text).query.GetBooleanText(), boolean);
    }

    void queryName_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::newRow("trimmed, blanks collapsed") << "  apple \t pie " << "apple pie";
        QTest::newRow("syntax kept") << "\"green tea\" -site:a.com" << "\"green tea\" -site:a.com";
        const QString sixty(CSearchTextReader::kMaxNameLength, QLatin1Char('a'));
        QTest::newRow("exactly the limit") << sixty << sixty;
        QTest::newRow("long, cut at a blank") << QString(55, QLatin1Char('b')) + " cdefghijk lmn"
                                              << QString(55, QLatin1Char('b')) + "...";
        QTest::newRow("long, no blank") << sixty + "zz" << sixty + "...";
        // 59 letters then a character outside the basic plane: not cut in half.
        QTest::newRow("no half character") << QString(59, QLatin1Char('c')) + QString::fromUtf8("😀😀")
                                           << QString(59, QLatin1Char('c')) + "...";
    }

    void queryName()
    {
        QFETCH(QString, text);
        QFETCH(QString, name);
        QCOMPARE(CSearchTextReader::QueryName(text), name);
    }
};

QTEST_GUILESS_MAIN(TestSearchTextReader)
#include "tst_search_text_reader.moc"
