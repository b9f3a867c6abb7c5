#pragma once

#include "EngineRequest.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>

// Reads a request target ("/altavista/cgi-bin/query?pg=aq&...") the way each
// engine's CGI program did: which engine, the query text and where the page starts.
class RequestDecoder final
{
public:
    static EngineRequest decode(QByteArrayView target);

    // Splits a query string into name and raw value. A piece without "=" is
    // taken as part of the previous value: clients of the time sent "&" inside
    // keywords unescaped.
    static QList<QPair<QByteArray, QByteArray>> parameters(QByteArrayView query);
};
