#pragma once

#include "OpenSearchUrl.h"
#include "SearchRequest.h"

#include <QString>

#include <optional>

// Fills in an OpenSearch Url template and its Params for one page of one search.
//
// The parameters {searchTerms}, {startIndex}, {startPage}, {count}, {language},
// {inputEncoding} and {outputEncoding} take their values, with or without the "?" that marks
// them optional. Any other parameter, namespaced ("{ns:name}") or not, has no value Trawlex
// could give and becomes empty, required or not: refusing the whole search for a parameter
// that only tells the engine who is asking would leave the user without it. A {language}
// without a value is "*" (any language) when required and empty when optional.
//
// Values are percent-encoded as UTF-8 (or the description's input encoding, when it names
// one Qt knows). In the address a blank is always %20 and a "+" is %2B, so the query means
// the same in a path and in a query string; in a POST form body a blank is "+", as that
// encoding prescribes. Params of a GET Url are added to the address's query, those of a
// POST Url make the form body.
//
// Paging: page 1 is the first page; startIndex = indexOffset + (page - 1) * count and
// startPage = pageOffset + (page - 1).
class OpenSearchTemplate final
{
public:
    OpenSearchTemplate() = delete;

    struct Values
    {
        QString searchTerms;
        int page = 1;   // 1 for the first page
        int count = 10; // results asked for per page
        QString language;
        QString inputEncoding = QStringLiteral("UTF-8");
        QString outputEncoding = QStringLiteral("UTF-8");
    };

    // The request, or empty with `error` set when the filled-in address is not a valid
    // http or https address (a template whose host is a parameter left empty, say).
    static std::optional<SearchRequest> expand(const OpenSearchUrl &url, const Values &values, QString *error = nullptr);

    // One filled-in value as the server receives it: `text` with every parameter replaced
    // by its raw value (not encoded). Exposed for tests and for showing a request.
    static QString substitute(QStringView text, const OpenSearchUrl &url, const Values &values);
};
