#include "OversizeFeed.h"

#include <QTcpSocket>

namespace {

// The socket keeps about this much queued; more is made when it drains below.
constexpr qint64 kQueued = 256 * 1024;

} // namespace

OversizeFeed::OversizeFeed(FeedWriter::Page page, QTcpSocket *socket)
    : QObject(socket), m_page(std::move(page)), m_socket(socket)
{
    // Every item after the first has the same length (numbers are zero-padded),
    // so the count and the length follow from three of them.
    const qint64 firstItem = FeedWriter::item(m_page, m_page.first, itemDocument(0)).size();
    const qint64 itemSize = FeedWriter::item(m_page, m_page.first + 1, itemDocument(1)).size();
    auto frame = [this] { return qint64(FeedWriter::head(m_page).size() + FeedWriter::tail(m_page).size()); };
    m_items = int(2 + (kBytes - frame() - firstItem) / itemSize);
    m_page.total = m_page.first + m_items;
    m_page.count = m_items;
    m_length = frame() + firstItem + (m_items - 1) * itemSize;
}

SimDocument OversizeFeed::itemDocument(int number) const
{
    const QString n = QStringLiteral("%1").arg(number, 8, 10, QLatin1Char('0'));
    SimDocument doc;
    doc.title = QStringLiteral("Oversize item ") + n;
    doc.url = QStringLiteral("http://big.example.com/items/%1.html").arg(n);
    doc.summary = QStringLiteral("One of very many items of a feed larger than a client should read. ").repeated(4);
    return doc;
}

void OversizeFeed::start()
{
    connect(m_socket, &QTcpSocket::bytesWritten, this, &OversizeFeed::fill);
    m_socket->write(FeedWriter::head(m_page));
    fill();
}

void OversizeFeed::fill()
{
    if (m_tailWritten)
        return;
    while (m_socket->bytesToWrite() < kQueued && m_next < m_items) {
        QByteArray chunk;
        while (chunk.size() < 64 * 1024 && m_next < m_items) {
            chunk += FeedWriter::item(m_page, m_page.first + m_next, itemDocument(m_next));
            ++m_next;
        }
        m_socket->write(chunk);
    }
    if (m_next == m_items) {
        m_tailWritten = true;
        m_socket->write(FeedWriter::tail(m_page));
        m_socket->disconnectFromHost();
    }
}
