#pragma once

#include <QString>

#include <functional>

// One hit cut out of an engine's result page, already decoded to text.
struct EngineHit
{
    QString title;
    QString url;
    QString summary;
};

// Receives each hit the moment the parser has cut it out, in page order.
using HitSink = std::function<void(EngineHit &&)>;
