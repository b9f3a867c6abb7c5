#pragma once

#include <QByteArray>

class CTrawlexQueryResults;

// One hit as the command line prints it, a JSON object on one line (no line end):
//   {"title":"...","url":"...","summary":"...","new":false,"engines":["AltaVista","HotBot"]}
// "engines" are the engines that returned it, the first finder first; [] when not known.
namespace HitJson {

QByteArray Line(const CTrawlexQueryResults &results, int hit);

} // namespace HitJson
