#pragma once

#include <QAbstractSocket>
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include "engines/EngineHit.h"

class QTcpSocket;
class CTrawlexAsyncSocketThread;
struct EngineJob;

// One engine's connection: builds the request, connects, sends one HTTP/1.0 GET, collects the
// answer and hands the complete page to the engine's parser. Lives in its engine thread and
// is used only by that thread's event loop.
class CTrawlexEngineSocket : public QObject
{
    Q_OBJECT

public:
    // A page larger than this ends the engine as failed instead of filling memory.
    static constexpr qsizetype kMaxPageBytes = 32 * 1024 * 1024;

    CTrawlexEngineSocket(EngineJob *job, CTrawlexAsyncSocketThread *thread);
    ~CTrawlexEngineSocket() override;

    // Builds the request tail, looks the address up and connects.
    virtual void Start();
    // True when the chunk just received ends the page; starts the parser when no hit has been
    // delivered yet.
    bool IsPageComplete(QByteArrayView chunk);

    int hits() const { return m_nHits; }

protected:
    virtual void BuildFirstPageQuery() = 0;
    virtual void BuildNextPageQuery() = 0;
    // Parses m_strPage, posts every hit and the completion, and ends the thread.
    virtual void ParseResults() = 0;
    // A notification's reading stopped without a complete page (HotBot redirect, Yahoo's
    // early parse).
    virtual void OnReadWithoutEnd() {}

    // The builders and the parse contract shared by every engine.
    void BuildFirstPageQueryFor(const QString &engine);
    void BuildNextPageQueryFor(const QString &engine);
    void ParseResultsAs(const QString &engine);
    // Ends the engine as failed at once, through the same path as its time limit; the
    // reason goes with the completion.
    void PostFailure(const QString &reason = QString());
    // Hands one hit, named after the engine that returned it, to the receiver and counts it.
    void PostHit(const QString &engine, EngineHit &&hit);
    // Claims the engine's one completion and hands it over; false when it was already ended.
    bool PostCompletion(const QString &engine, const QString &extra, bool exhausted = false);

    const QString &jobName() const;

    int m_nHits = 0;
    QByteArray m_strQuery;
    QStringList m_words;
    QByteArray m_strPage;
    EngineJob *m_pJob;
    CTrawlexAsyncSocketThread *m_pThread;

private:
    void OnConnect();
    void OnReceive();
    void OnError(QAbstractSocket::SocketError error);

    QTcpSocket *m_pSocket = nullptr;
    QByteArray m_path;
    bool m_bConnected = false;
    bool m_bFailed = false;
};
