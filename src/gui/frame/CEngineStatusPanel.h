#pragma once

#include <QDockWidget>
#include <QTimer>

class CEngineRunStatus;
class QLabel;
class QTableView;

// The dockable list of the engines of the run on show: each one's state, time and reason,
// under a line that says whether the run is under way, how it ended, or that there was none.
class CEngineStatusPanel final : public QDockWidget
{
    Q_OBJECT
public:
    explicit CEngineStatusPanel(CEngineRunStatus &status, QWidget *parent = nullptr);

    QLabel *heading() const { return m_pHeading; }
    QTableView *table() const { return m_pTable; }

private:
    void OnSummaryChanged();

    CEngineRunStatus &m_status;
    QLabel *m_pHeading;
    QTableView *m_pTable;
    // Redraws the running times of the engines being asked.
    QTimer m_tick;
};
