#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// Fetches what the user gave as an engine's address (a description, a page that names one,
// or an instance's front page) over verified HTTP(S), as the engines are asked: the user's
// extra CA certificates, safe redirects only, a bound on the size.
class CDescriptionFetch final : public QObject
{
    Q_OBJECT

public:
    static constexpr qsizetype kMaxBytes = 1024 * 1024;
    static constexpr int kTimeoutMs = 30000;

    explicit CDescriptionFetch(QObject *parent = nullptr);
    ~CDescriptionFetch() override;

    // Starts a fetch; an address that is not http or https ends at once with an error.
    void fetch(const QUrl &address);
    void abort();

    // Fetches and waits, running a local event loop (for the command line).
    static bool fetchAndWait(const QUrl &address, QByteArray *body, QUrl *finalAddress, QString *error);

Q_SIGNALS:
    // body and the address it came from after redirects; error is empty on success.
    void finished(const QByteArray &body, const QUrl &finalAddress, const QString &error);

private:
    void finish(const QString &error);

    QNetworkAccessManager *m_pManager;
    QNetworkReply *m_pReply = nullptr;
    QByteArray m_body;
};
