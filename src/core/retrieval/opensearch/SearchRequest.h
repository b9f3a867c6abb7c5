#pragma once

#include <QByteArray>
#include <QUrl>

// One request for one page of results, ready for the transport: the method, the full
// address, and for POST the form body with its content type.
struct SearchRequest
{
    QByteArray method = "GET";
    QUrl url;
    QByteArray body;        // empty for GET
    QByteArray contentType; // "application/x-www-form-urlencoded" for POST, empty for GET
};
