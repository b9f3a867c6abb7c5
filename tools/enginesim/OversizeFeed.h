#pragma once

#include "FeedWriter.h"
#include "SimDocument.h"

#include <QObject>

class QTcpSocket;

// A valid feed larger than any client should take (kBytes), written to the
// socket a piece at a time as it drains, so that it is never held whole.
class OversizeFeed final : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 kBytes = 36LL * 1024 * 1024;

    // page gives the form and the response elements; its items are made up here.
    OversizeFeed(FeedWriter::Page page, QTcpSocket *socket);

    // The exact length of the whole document, known before the first byte.
    qint64 length() const { return m_length; }
    // Writes the document after whatever the socket already holds, then closes.
    void start();

private:
    void fill();
    SimDocument itemDocument(int number) const;

    FeedWriter::Page m_page;
    QTcpSocket *m_socket;
    int m_items = 0;
    int m_next = 0;
    qint64 m_length = 0;
    bool m_tailWritten = false;
};
