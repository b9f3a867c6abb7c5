#pragma once

#include <QByteArray>
#include <QList>

// Answer pages in the style of the engines of the time, for exchange tests: just enough of
// each engine's markers for its parser to find the hits.
namespace LoopbackPages {

struct Hit
{
    QByteArray title;
    QByteArray url;
    QByteArray summary;
};

QList<Hit> sampleHits(int n, const QByteArray &tag = "hit");

QByteArray httpOk(const QByteArray &body);
QByteArray altaVista(const QList<Hit> &hits);
QByteArray hotBot(const QList<Hit> &hits);
// Category matches then site matches; a non-empty nextSet adds the "Next Matches" link.
QByteArray yahoo(const QList<Hit> &categories, const QList<Hit> &sites, const QByteArray &nextSet);
// A well-formed page without results: every parser finds its precondition missing.
QByteArray noResults();
// HotBot's "302 Moved" with the given Location.
QByteArray hotBotMoved(const QByteArray &location);

} // namespace LoopbackPages
