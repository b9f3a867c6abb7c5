#pragma once

#include "retrieval/web/EngineDefinition.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <optional>

class CDescriptionFetch;

// What an address the user gives stands for, found without blocking the window: a
// description is read as it is, a web page that names one leads to that one, and anything
// else (or an address the user says is one) is taken for a metasearch instance.
class CEngineAddressLookup final : public QObject
{
    Q_OBJECT
public:
    explicit CEngineAddressLookup(QObject *parent = nullptr);

    // An instance is not fetched: its search is known from its address.
    void start(const QString &address, bool instance);
    void cancel();
    bool isRunning() const { return m_bRunning; }

Q_SIGNALS:
    // What is being fetched now, for the progress line.
    void fetching(const QUrl &address);
    // A definition to review, or nothing with the reason.
    void finished(const std::optional<EngineDefinition> &definition, const QString &error);

private:
    void onFetched(const QByteArray &body, const QUrl &finalAddress, const QString &error);
    void fetch(const QUrl &address);
    void finish(const std::optional<EngineDefinition> &definition, const QString &error);

    CDescriptionFetch *m_pFetch;
    QString m_strAddress;
    bool m_bFollowedLink = false;
    bool m_bRunning = false;
};
