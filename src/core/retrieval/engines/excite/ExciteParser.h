#pragma once

#include "../EngineHit.h"

#include <QByteArrayView>

class PageDecoding;

// Cuts the hits out of a Excite result page and hands them to the sink in page order.
namespace ExciteParser {

void parse(QByteArrayView page, const PageDecoding &decoding, const HitSink &deliver);

} // namespace ExciteParser
