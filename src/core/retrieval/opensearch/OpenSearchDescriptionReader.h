#pragma once

#include "OpenSearchDescription.h"

#include <QByteArrayView>
#include <QString>
#include <QUrl>

#include <optional>

// Reads an OpenSearch description document (OpenSearch 1.1, also the 1.0 namespace and the
// browsers' SearchPlugin form, which has the same elements).
//
// `base` is the address the document came from: relative templates are resolved against
// it. Every Url is read with its type, template, method (the plain attribute or the
// parameter extension's), rel, indexOffset, pageOffset and its Param / Parameter children.
//
// A document Trawlex cannot use gives no description and a sentence naming what is wrong:
// not XML, another root element, no ShortName, no Url, a Url without template or type, a
// template that is not an http or https address, an unknown method or an offset that is
// not a whole number. Choosing which Url to search is OpenSearchDescription::resultsUrl.
class OpenSearchDescriptionReader final
{
public:
    OpenSearchDescriptionReader() = delete;

    static std::optional<OpenSearchDescription> read(QByteArrayView document, const QUrl &base, QString *error);
};
