#pragma once

#include "EngineHit.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFlags>
#include <QString>
#include <QStringList>

#include <functional>

class CTrawlexAsyncSocketThread;
class CTrawlexEngineSocket;
struct EngineJob;

// What kind of engine a descriptor stands for; the kind decides how it is asked.
enum class EngineKind {
    ResultPage, // one of the seven: an HTTP/1.0 GET and an HTML page cut by fixed markers
    Redirected, // the repeated request after an engine's redirect; parsed as that engine
    Retired,    // a name the program still knows, with no page to ask
};

// The parts of a query an engine takes in its request.
enum class EngineFeature {
    Groups = 0x1,
    Filters = 0x2,
    // Later pages follow a continuation path the result page names (stored per query),
    // not a page counter.
    ContinuationPath = 0x4,
    // Shown on the query sheet's engine page.
    OnSheet = 0x8,
};
Q_DECLARE_FLAGS(EngineFeatures, EngineFeature)
Q_DECLARE_OPERATORS_FOR_FLAGS(EngineFeatures)

// One engine: its identity, what it takes, how its request is written and its answer read,
// and the connection that asks it. Descriptors are immutable once registered, so engine
// threads may read them while the user-interface thread looks others up.
struct EngineDescriptor
{
    // The request tail of the first result page, from the split boolean text.
    using FirstPageBuilder = std::function<QByteArray(const QStringList &words)>;
    // A later page: counter is the engine's page counter (1 or more); continuation is the
    // stored path of engines that continue by path.
    using NextPageBuilder =
        std::function<QByteArray(const QStringList &words, int counter, const QString &continuation)>;
    // Reads a complete answer (headers included), hands every hit to the sink in page order
    // and returns the completion's Extra text (the continuation path, or empty).
    using ResultReader = std::function<QString(QByteArrayView page, const HitSink &deliver)>;
    using SocketFactory = CTrawlexEngineSocket *(*)(EngineJob *job, CTrawlexAsyncSocketThread *thread);

    QString name;         // exact and case-sensitive everywhere
    QString label;        // the engine page's check box text
    EngineKind kind = EngineKind::ResultPage;
    int identifier = 0;   // the engine thread's time-limit timer and failure identifier
    int controlId = 0;    // the engine page's check box identifier; 0 for none
    bool builtIn = false; // one the program has always known, never removed
    EngineFeatures features;
    FirstPageBuilder firstPage;
    NextPageBuilder nextPage;
    ResultReader readResults;
    SocketFactory createSocket = nullptr;

    bool takes(EngineFeature feature) const { return features.testFlag(feature); }
    bool canBeAsked() const { return firstPage && readResults && createSocket; }
};
