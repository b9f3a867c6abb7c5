#pragma once

#include "../EngineHit.h"

#include <QByteArrayView>
#include <QString>

class PageDecoding;

// Cuts the category and site matches out of a Yahoo result page, categories first, and
// returns the path of the next set of matches, or " " when there is none.
namespace YahooParser {

QString parse(QByteArrayView page, const PageDecoding &decoding, const HitSink &deliver);

} // namespace YahooParser
