#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The OpenSearch 1.1 description documents the simulator offers, one per way
// of asking it, with templates that point back at the address they were
// fetched from.
class OpenSearchWriter final
{
public:
    // "atom", "rss", "json", "post", "post-params" and "html".
    static QStringList names();
    // base is "http://host:port" as the client asked; empty for an unknown name.
    static QByteArray description(const QString &name, const QString &base);
    static QByteArray contentType() { return "application/opensearchdescription+xml; charset=utf-8"; }
};
