#pragma once

#include "retrieval/engines/EngineHit.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class CRetrievalRun;

// A one-word search on one engine, to see that it answers: the hits it brings (the user's
// words applied as in a run) and the time, or why it failed. Nothing is stored.
class CEngineTest final : public QObject
{
    Q_OBJECT

public:
    struct Outcome
    {
        QString engine;
        QList<EngineHit> hits;
        qint64 milliseconds = 0;
        bool failed = false;
        QString reason; // when failed
    };

    explicit CEngineTest(QObject *parent = nullptr);
    ~CEngineTest() override;

    // Asks the named engine for the first page of the words (one word when words is empty:
    // "test"). engineAddressList is needed only for the built-in engines. False when a test
    // is still going or the engine is unknown.
    bool start(const QString &engine, const QStringList &words, const QString &engineAddressList, int maxDelay);
    void stop();
    bool isRunning() const;

    // Delivers events until the test started has ended (for the command line); its outcome.
    Outcome waitForOutcome();
    // What a test of an engine nobody can ask ends in.
    static Outcome unknownEngine(const QString &engine);

Q_SIGNALS:
    void finished(const CEngineTest::Outcome &outcome);

protected:
    bool event(QEvent *e) override;

private:
    std::unique_ptr<CRetrievalRun> m_run;
    Outcome m_outcome;
    QElapsedTimer m_clock;
    bool m_bDone = true;
};
