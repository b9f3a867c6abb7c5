#pragma once

#include "../EngineHit.h"

#include <QByteArrayView>

class PageDecoding;

// Cuts the hits out of a Lycos result page and hands them to the sink in page order.
namespace LycosParser {

void parse(QByteArrayView page, const PageDecoding &decoding, const HitSink &deliver);

} // namespace LycosParser
