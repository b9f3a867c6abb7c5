#pragma once

#include "CRunMonitor.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class CTrawlexQueryResults;

// Each engine of a run and how it went: waiting, being asked, its hits, or why it failed,
// with the time it took. Fed from the run monitor's signals; after the run the list is kept
// for the stored query the run became, for as long as the program runs, so that showing a
// query again shows how its last run went.
class CEngineRunStatus final : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum class State { Waiting, Asking, Answered, Failed, TimedOut, Stopped, NotAsked };
    Q_ENUM(State)

    enum Column { EngineColumn, StateColumn, TimeColumn, ReasonColumn, ColumnCount };
    // Beside the display texts: the State, the hits and the milliseconds as numbers.
    enum Role { StateRole = Qt::UserRole, HitsRole, ElapsedRole };

    struct Row
    {
        QString engine;
        State state = State::Waiting;
        int hits = 0;           // over every pass of the run
        qint64 elapsedMs = 0;   // asking time of the passes that have ended for this engine
        qint64 askedSince = -1; // clock value when the current pass began asking it
        QString reason;
    };

    explicit CEngineRunStatus(QObject *parent = nullptr);

    // Follows the monitor's runs; the results set says which stored query a run became.
    void watch(const CRunMonitor &monitor, const CTrawlexQueryResults &results);
    // Milliseconds from any fixed point; tests give their own.
    void setClock(std::function<qint64()> clock);

    // What the monitor reports, in its order.
    void beginPass(const QStringList &engines, int maxConns);
    void endEngine(const QString &engine, int hits, const QString &reason);
    void skipEngine(const QString &engine);
    // qid: the stored query the run became, or -1 when nothing was stored.
    void finishRun(CRunMonitor::Outcome outcome, int qid);

    // The stored query on show: its list when it ran this session, otherwise none. Ignored
    // while a run is under way, whose list stays on show.
    void showQuery(int qid);

    bool isRunning() const { return m_bRunning; }
    // The list on show is of a run this session (under way or ended).
    bool hasRun() const { return m_bHasRun; }
    int shownQueryId() const { return m_nShownQid; }

    // The engines of the run on show, and those that failed or ran out of time, in list order.
    int engineCount() const { return int(m_rows.size()); }
    QStringList failedEngines() const;
    int countIn(State state) const;
    const Row &row(int index) const { return m_rows.at(index); }
    // Asking time so far, the current pass included.
    qint64 elapsedMs(int index) const;

    // The one line for the status bar: "Engines: 3 of 9 done, 1 failed"; empty without a run.
    QString summaryText() const;
    // The line above the list: under way, how the run ended, or that there was none.
    QString headingText() const;

    static QString stateText(const Row &row);
    static QString elapsedText(qint64 ms);

    // The time cells of the engines being asked change by themselves; the panel calls this
    // as often as it wants them redrawn.
    void refreshElapsed();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    // The summary or heading has changed (a pass, an end, another query on show).
    void summaryChanged();

private:
    struct Record
    {
        QList<Row> rows;
        CRunMonitor::Outcome outcome = CRunMonitor::Outcome::Completed;
        QDateTime endedAt;
        int passes = 0;
    };

    qint64 now() const;
    int indexOf(const QString &engine) const;
    // The supervisor asks the engines in groups of maxConns, in list order, and starts the
    // next group only when the whole group has ended.
    void askNextGroup();
    void settle(int index, State state, const QString &reason);
    void replaceRows(const QList<Row> &rows);

    std::function<qint64()> m_clock;
    QList<Row> m_rows;
    QList<int> m_passOrder; // rows of the pass under way, in the order they are asked
    QHash<int, Record> m_records;
    Record m_shown; // what the rows came from, when not a run under way
    int m_nMaxConns = 1;
    int m_nNextToAsk = 0;
    int m_nPasses = 0;
    int m_nShownQid = -1;
    bool m_bRunning = false;
    bool m_bHasRun = false;
};
