#pragma once

#include <QByteArray>
#include <QString>

// What one request line asks of the simulator, decoded from the engine's side.
struct EngineRequest
{
    enum class Kind { Search, Redirect, NotFound };

    Kind kind = Kind::NotFound;
    QString engine;      // "AltaVista", ..., "HotBot", "HotBotRepeat", "Yahoo"
    QString queryText;   // the decoded query parameter
    int start = 0;       // index of the first hit to show, from 0
    QByteArray redirectPath; // HotBot: the Location's path, without the leading "/"
    QByteArray target;   // the request target as received
};
