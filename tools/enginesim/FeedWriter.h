#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct SimDocument;

// Writes a page of hits the way today's engines publish them: an Atom 1.0 or
// RSS 2.0 feed with the OpenSearch response elements, or a metasearch
// instance's JSON. A document is a head, its items and a tail, so that a feed
// too large to hold can be written a piece at a time.
class FeedWriter final
{
public:
    enum class Format { Atom, Rss, SearxJson };

    struct Page
    {
        Format format = Format::Atom;
        QString query;
        QString selfUrl; // the address this page was asked at
        int total = 0;   // hits of the whole search
        int first = 0;   // index of the first item of this page, from 0
        int count = 0;   // items per page asked for
        QList<const SimDocument *> items;
        QStringList words; // shown in bold in titles and summaries, lower case
    };

    static QByteArray document(const Page &page);

    static QByteArray head(const Page &page);
    // position counts from 0 over the whole search; a JSON item after the first carries its comma.
    static QByteArray item(const Page &page, int position, const SimDocument &doc);
    static QByteArray tail(const Page &page);

    static QByteArray contentType(Format format);

private:
    static QString highlighted(const QString &text, const QStringList &words);
};
