#pragma once

#include "FaultPlan.h"
#include "FeedWriter.h"

#include <QByteArray>
#include <QString>

#include <optional>

class Corpus;
class TodayRequest;

// Answers today's forms from the corpus: description documents, feeds and a
// metasearch instance's results, with the faults a client has to survive.
class TodayResponder final
{
public:
    struct Context
    {
        bool https = false;
        QString localAddress;  // "127.0.0.1:P": the port that took the connection
        quint16 httpPort = 0;  // where a downgrading redirect sends the client
    };

    struct Answer
    {
        QByteArray status = "200 OK";
        QByteArray contentType;
        QByteArray extraHeaders; // whole lines, each ending in CRLF
        QByteArray body;
        // Set for the oversize fault: the body is this page written a piece at a time.
        std::optional<FeedWriter::Page> oversize;
    };

    explicit TodayResponder(const Corpus &corpus);

    Answer answer(const TodayRequest &request, const Context &context, FaultPlan::Kind fault) const;

    // The status line and headers of an HTTP/1.1 answer that closes its connection.
    static QByteArray head(const Answer &answer, qint64 bodyLength, bool gzip);
    // Head and body; the body gzipped when asked for and possible.
    static QByteArray bytes(const Answer &answer, bool gzip);

    // The corpus search for today's query syntax: words, "phrases", -word,
    // (a OR b), intitle:, inurl: and site:.
    FeedWriter::Page search(const TodayRequest &request, FeedWriter::Format format, const QString &selfUrl) const;

private:
    static Answer error(const QByteArray &status, const QByteArray &extraHeaders = {});
    static QByteArray broken(const QByteArray &document, FeedWriter::Format format);

    const Corpus &m_corpus;
};
