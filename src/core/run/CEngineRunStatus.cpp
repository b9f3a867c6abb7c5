#include "CEngineRunStatus.h"

#include "query/CTrawlexQueryResults.h"

#include <QElapsedTimer>
#include <QLocale>

#include <algorithm>

namespace {
// How the engine thread words the end of its own time limit; such an engine ran out of time
// rather than failed.
const QLatin1String kOwnTimeLimit("no answer within ");

bool isSettled(CEngineRunStatus::State state)
{
    return state != CEngineRunStatus::State::Waiting && state != CEngineRunStatus::State::Asking;
}
} // namespace

CEngineRunStatus::CEngineRunStatus(QObject *parent)
    : QAbstractTableModel(parent)
{
    QElapsedTimer timer;
    timer.start();
    m_clock = [timer] { return timer.elapsed(); };
}

void CEngineRunStatus::watch(const CRunMonitor &monitor, const CTrawlexQueryResults &results)
{
    connect(&monitor, &CRunMonitor::passStarted, this, &CEngineRunStatus::beginPass);
    connect(&monitor, &CRunMonitor::engineEnded, this, &CEngineRunStatus::endEngine);
    connect(&monitor, &CRunMonitor::engineSkipped, this, &CEngineRunStatus::skipEngine);
    // By the time the run is over the results set holds the QID it was stored under.
    connect(&monitor, &CRunMonitor::runFinished, this,
            [this, &results](CRunMonitor::Outcome outcome) { finishRun(outcome, results.Qid()); });
}

void CEngineRunStatus::setClock(std::function<qint64()> clock)
{
    m_clock = std::move(clock);
}

qint64 CEngineRunStatus::now() const
{
    return m_clock();
}

int CEngineRunStatus::indexOf(const QString &engine) const
{
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows.at(i).engine == engine)
            return i;
    }
    return -1;
}

void CEngineRunStatus::replaceRows(const QList<Row> &rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

void CEngineRunStatus::beginPass(const QStringList &engines, int maxConns)
{
    QList<Row> rows;
    if (m_bRunning) {
        // A further pass of the same run (an update): the hits and times add up.
        rows = m_rows;
    } else {
        m_nPasses = 0;
        m_shown = Record();
    }
    m_passOrder.clear();
    for (const QString &engine : engines) {
        auto it = std::find_if(rows.begin(), rows.end(), [&engine](const Row &r) { return r.engine == engine; });
        if (it == rows.end()) {
            Row row;
            row.engine = engine;
            rows.append(row);
            it = rows.end() - 1;
        }
        const int index = int(it - rows.begin());
        if (m_passOrder.contains(index))
            continue; // the supervisor asks a name once
        it->state = State::Waiting;
        it->reason.clear();
        it->askedSince = -1;
        m_passOrder.append(index);
    }
    m_bRunning = true;
    m_bHasRun = true;
    ++m_nPasses;
    m_nMaxConns = std::max(1, maxConns);
    m_nNextToAsk = 0;
    replaceRows(rows);
    askNextGroup();
    Q_EMIT summaryChanged();
}

void CEngineRunStatus::askNextGroup()
{
    for (int index : std::as_const(m_passOrder)) {
        if (m_rows.at(index).state == State::Asking)
            return;
    }
    const qint64 t = now();
    while (m_nNextToAsk < m_passOrder.size()) {
        const int end = std::min<int>(int(m_passOrder.size()), m_nNextToAsk + m_nMaxConns);
        bool asked = false;
        for (int i = m_nNextToAsk; i < end; ++i) {
            Row &row = m_rows[m_passOrder.at(i)];
            if (row.state != State::Waiting)
                continue; // ended before its turn as this list saw it
            row.state = State::Asking;
            row.askedSince = t;
            asked = true;
            const QModelIndex first = index(m_passOrder.at(i), 0);
            Q_EMIT dataChanged(first, first.siblingAtColumn(ColumnCount - 1));
        }
        m_nNextToAsk = end;
        if (asked)
            return;
    }
}

void CEngineRunStatus::settle(int i, State state, const QString &reason)
{
    Row &row = m_rows[i];
    if (row.askedSince >= 0)
        row.elapsedMs += std::max<qint64>(0, now() - row.askedSince);
    row.askedSince = -1;
    row.state = state;
    row.reason = reason;
    Q_EMIT dataChanged(index(i, 0), index(i, ColumnCount - 1));
}

void CEngineRunStatus::endEngine(const QString &engine, int hits, const QString &reason)
{
    if (!m_bRunning)
        return;
    int i = indexOf(engine);
    if (i < 0) {
        // Not among the names the pass began with: listed all the same, so nothing goes unseen.
        beginInsertRows(QModelIndex(), int(m_rows.size()), int(m_rows.size()));
        Row row;
        row.engine = engine;
        m_rows.append(row);
        endInsertRows();
        i = int(m_rows.size()) - 1;
    }
    if (hits < 0) {
        settle(i, reason.startsWith(kOwnTimeLimit) ? State::TimedOut : State::Failed, reason);
    } else {
        m_rows[i].hits += hits;
        settle(i, State::Answered, QString());
    }
    askNextGroup();
    Q_EMIT summaryChanged();
}

void CEngineRunStatus::skipEngine(const QString &engine)
{
    if (!m_bRunning)
        return;
    const int i = indexOf(engine);
    if (i < 0)
        return;
    settle(i, State::NotAsked, QStringLiteral("no further page to ask for"));
    askNextGroup();
    Q_EMIT summaryChanged();
}

void CEngineRunStatus::finishRun(CRunMonitor::Outcome outcome, int qid)
{
    if (!m_bRunning)
        return;
    using Outcome = CRunMonitor::Outcome;
    for (int i = 0; i < m_rows.size(); ++i) {
        const State state = m_rows.at(i).state;
        if (isSettled(state))
            continue;
        if (state == State::Asking) {
            if (outcome == Outcome::TimedOut)
                settle(i, State::TimedOut, QStringLiteral("no engine answered within the run's time limit"));
            else if (outcome == Outcome::Stopped)
                settle(i, State::Stopped, QStringLiteral("stopped while asking"));
            else
                settle(i, State::Failed, QStringLiteral("ended without a report"));
        } else {
            settle(i, State::NotAsked,
                   outcome == Outcome::TimedOut ? QStringLiteral("the run timed out before its turn")
                   : outcome == Outcome::Stopped ? QStringLiteral("the run was stopped before its turn")
                                                 : QStringLiteral("the run ended before its turn"));
        }
    }
    m_bRunning = false;
    m_shown.rows = m_rows;
    m_shown.outcome = outcome;
    m_shown.endedAt = QDateTime::currentDateTime();
    m_shown.passes = m_nPasses;
    if (qid != -1)
        m_records.insert(qid, m_shown);
    m_nShownQid = qid;
    Q_EMIT summaryChanged();
}

void CEngineRunStatus::showQuery(int qid)
{
    if (m_bRunning || qid == m_nShownQid)
        return;
    m_nShownQid = qid;
    const auto it = m_records.constFind(qid);
    if (it != m_records.cend()) {
        m_shown = *it;
        m_bHasRun = true;
        m_nPasses = m_shown.passes;
        replaceRows(m_shown.rows);
    } else {
        m_shown = Record();
        m_bHasRun = false;
        replaceRows({});
    }
    Q_EMIT summaryChanged();
}

QStringList CEngineRunStatus::failedEngines() const
{
    QStringList names;
    for (const Row &row : m_rows) {
        if (row.state == State::Failed || row.state == State::TimedOut)
            names << row.engine;
    }
    return names;
}

int CEngineRunStatus::countIn(State state) const
{
    return int(std::count_if(m_rows.cbegin(), m_rows.cend(), [state](const Row &r) { return r.state == state; }));
}

qint64 CEngineRunStatus::elapsedMs(int i) const
{
    const Row &row = m_rows.at(i);
    return row.elapsedMs + (row.askedSince >= 0 ? std::max<qint64>(0, now() - row.askedSince) : 0);
}

QString CEngineRunStatus::summaryText() const
{
    if (!m_bHasRun)
        return QString();
    const int total = engineCount();
    const int failed = countIn(State::Failed) + countIn(State::TimedOut);
    if (m_bRunning) {
        const int done = int(std::count_if(m_rows.cbegin(), m_rows.cend(), [](const Row &r) { return isSettled(r.state); }));
        QString text = QStringLiteral("Engines: %1 of %2 done").arg(done).arg(total);
        if (failed > 0)
            text += QStringLiteral(", %1 failed").arg(failed);
        return text;
    }
    if (total == 0)
        return QStringLiteral("No engines");
    QStringList parts;
    const std::pair<State, const char *> kinds[] = {
        {State::Answered, "answered"}, {State::Failed, "failed"}, {State::TimedOut, "timed out"},
        {State::Stopped, "stopped"}, {State::NotAsked, "not asked"}};
    for (const auto &[state, word] : kinds) {
        if (const int n = countIn(state))
            parts << QStringLiteral("%1 %2").arg(n).arg(QLatin1String(word));
    }
    const QString engines = total == 1 ? QStringLiteral("1 engine") : QStringLiteral("%1 engines").arg(total);
    return engines + QStringLiteral(": ") + parts.join(QStringLiteral(", "));
}

QString CEngineRunStatus::headingText() const
{
    if (m_bRunning)
        return m_nPasses > 1 ? QStringLiteral("Asking the engines, pass %1").arg(m_nPasses)
                             : QStringLiteral("Asking the engines");
    if (!m_bHasRun)
        return m_nShownQid == -1 ? QStringLiteral("No query run this session.")
                                 : QStringLiteral("No run of this query this session.");
    const QString at = QLocale().toString(m_shown.endedAt.time(), QLocale::ShortFormat);
    QString text;
    switch (m_shown.outcome) {
    case CRunMonitor::Outcome::Completed: text = QStringLiteral("Run completed at %1").arg(at); break;
    case CRunMonitor::Outcome::TimedOut: text = QStringLiteral("Run timed out at %1").arg(at); break;
    case CRunMonitor::Outcome::Stopped: text = QStringLiteral("Run stopped at %1").arg(at); break;
    case CRunMonitor::Outcome::SaveFailed:
        text = QStringLiteral("Run ended at %1; its results could not be stored").arg(at);
        break;
    }
    if (m_shown.passes > 1)
        text += QStringLiteral(", %1 passes").arg(m_shown.passes);
    return text;
}

QString CEngineRunStatus::stateText(const Row &row)
{
    switch (row.state) {
    case State::Waiting: return QStringLiteral("waiting");
    case State::Asking: return QStringLiteral("asking");
    case State::Answered:
        if (row.hits == 0)
            return QStringLiteral("no hits");
        return row.hits == 1 ? QStringLiteral("1 hit") : QStringLiteral("%1 hits").arg(row.hits);
    case State::Failed: return QStringLiteral("failed");
    case State::TimedOut: return QStringLiteral("timed out");
    case State::Stopped: return QStringLiteral("stopped");
    case State::NotAsked: return QStringLiteral("not asked");
    }
    return QString();
}

QString CEngineRunStatus::elapsedText(qint64 ms)
{
    if (ms < 0)
        return QString();
    const QLocale locale;
    if (ms < 10000)
        return locale.toString(double(ms) / 1000.0, 'f', 1) + QStringLiteral(" s");
    const qint64 seconds = (ms + 500) / 1000;
    if (seconds < 60)
        return QStringLiteral("%1 s").arg(seconds);
    return QStringLiteral("%1 min %2 s").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void CEngineRunStatus::refreshElapsed()
{
    int first = -1;
    int last = -1;
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows.at(i).state != State::Asking)
            continue;
        if (first < 0)
            first = i;
        last = i;
    }
    if (first >= 0)
        Q_EMIT dataChanged(index(first, TimeColumn), index(last, TimeColumn), {Qt::DisplayRole, ElapsedRole});
}

int CEngineRunStatus::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int CEngineRunStatus::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CEngineRunStatus::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    const Row &row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case EngineColumn: return row.engine;
        case StateColumn: return stateText(row);
        case TimeColumn:
            // An engine never asked took no time worth showing.
            if (row.state == State::Waiting || (row.state == State::NotAsked && row.elapsedMs == 0))
                return QString();
            return elapsedText(elapsedMs(index.row()));
        case ReasonColumn: return row.reason;
        }
        break;
    case Qt::ToolTipRole:
        if (row.reason.isEmpty())
            return QVariant();
        return QString(row.engine + QStringLiteral(": ") + stateText(row) + QStringLiteral(", ") + row.reason);
    case Qt::TextAlignmentRole:
        if (index.column() == TimeColumn)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        break;
    case StateRole: return int(row.state);
    case HitsRole: return row.hits;
    case ElapsedRole: return elapsedMs(index.row());
    }
    return QVariant();
}

QVariant CEngineRunStatus::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case EngineColumn: return QStringLiteral("Engine");
    case StateColumn: return QStringLiteral("State");
    case TimeColumn: return QStringLiteral("Time");
    case ReasonColumn: return QStringLiteral("Reason");
    }
    return QVariant();
}
