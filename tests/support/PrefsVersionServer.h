#pragma once

#include <QByteArray>
#include <QList>
#include <QTcpServer>

class QTcpSocket;

// A stand-in for the maker's version server on 127.0.0.1: waits for the request, then writes
// the reply in the given chunks, one chunk per pause, and closes or keeps the connection.
class PrefsVersionServer final
{
public:
    PrefsVersionServer();
    ~PrefsVersionServer();

    bool listen();
    // "127.0.0.1:port"
    QString address() const;

    QList<QByteArray> chunks;
    int pauseMs = 60;          // between chunks, so each arrives in a read of its own
    bool closeAfter = false;   // close once everything is written
    bool silent = false;       // never answer
    int repeatForever = 0;     // > 0: keep writing this many bytes without "@" every pause

    QList<QByteArray> requests;
    int connections = 0;
    int writes = 0;      // chunks (or flood blocks) written
    bool closed = false; // closed after the last chunk

private:
    void serve(QTcpSocket *socket);
    void writeChunk(QTcpSocket *socket, int index);
    void flood(QTcpSocket *socket);

    QTcpServer m_server;
    QList<QTcpSocket *> m_sockets;
};
