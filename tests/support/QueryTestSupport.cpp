#include "QueryTestSupport.h"

#include "query/CTrawlexQuery.h"

void QueryRecordingPrompt::showMessage(const QString &text)
{
    m_messages.append(text);
}

bool QueryRecordingPrompt::askYesNo(const QString &text)
{
    m_questions.append(text);
    return m_bAnswer;
}

namespace QueryTestSupport {

CTrawlexQuery awkwardQuery()
{
    CTrawlexQuery q;
    q.m_strName = QStringLiteral("O'Brien's |pipes| café 😀");
    q.m_keywords = {{QStringLiteral("it's"), QStringLiteral("include")},
                    {QStringLiteral("a|b"), QStringLiteral("exclude")},
                    {QStringLiteral("Straße über"), QStringLiteral("optional")}};
    q.m_groups = {{QStringLiteral("zebra"), QStringLiteral("optional"),
                   {{QStringLiteral("x'y"), QStringLiteral("optional")}, {QStringLiteral("ñ"), QStringLiteral("exclude")}}},
                  {QStringLiteral("apple"), QStringLiteral("include"), {{QStringLiteral("pear"), QStringLiteral("include")}}}};
    q.m_filters = {{QStringLiteral("exclude"), QStringLiteral("URL"), QStringLiteral("sp'am")},
                   {QStringLiteral("include"), QStringLiteral("Title"), QStringLiteral("|")}};
    q.m_engines = {QStringLiteral("AltaVista"), QStringLiteral("HotBot"), QStringLiteral("Yahoo")};
    return q;
}

} // namespace QueryTestSupport
