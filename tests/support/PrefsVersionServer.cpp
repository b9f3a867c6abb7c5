#include "PrefsVersionServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

PrefsVersionServer::PrefsVersionServer()
{
    QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            ++connections;
            m_sockets << socket;
            requests << QByteArray();
            const qsizetype index = requests.size() - 1;
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, index] {
                const bool complete = requests[index].contains("\n\n");
                requests[index] += socket->readAll();
                if (!complete && requests[index].contains("\n\n"))
                    serve(socket);
            });
        }
    });
}

PrefsVersionServer::~PrefsVersionServer()
{
    for (QTcpSocket *socket : std::as_const(m_sockets))
        socket->abort();
}

bool PrefsVersionServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QString PrefsVersionServer::address() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort());
}

void PrefsVersionServer::serve(QTcpSocket *socket)
{
    if (silent)
        return;
    if (repeatForever > 0) {
        flood(socket);
        return;
    }
    writeChunk(socket, 0);
}

void PrefsVersionServer::writeChunk(QTcpSocket *socket, int index)
{
    if (index >= chunks.size()) {
        if (closeAfter) {
            socket->disconnectFromHost();
            closed = true;
        }
        return;
    }
    socket->write(chunks.at(index));
    ++writes;
    socket->flush();
    QPointer<QTcpSocket> alive(socket);
    QTimer::singleShot(pauseMs, socket, [this, alive, index] {
        if (alive && alive->state() == QAbstractSocket::ConnectedState)
            writeChunk(alive, index + 1);
    });
}

void PrefsVersionServer::flood(QTcpSocket *socket)
{
    if (socket->state() != QAbstractSocket::ConnectedState)
        return;
    socket->write(QByteArray(repeatForever, '#'));
    ++writes;
    QPointer<QTcpSocket> alive(socket);
    QTimer::singleShot(pauseMs, socket, [this, alive] {
        if (alive)
            flood(alive);
    });
}
