#include "frame/CEngineStatusPanel.h"

#include "run/CEngineRunStatus.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

CEngineStatusPanel::CEngineStatusPanel(CEngineRunStatus &status, QWidget *parent)
    : QDockWidget(QStringLiteral("Engine Status"), parent)
    , m_status(status)
{
    setObjectName(QStringLiteral("engineStatusPanel"));
    setAllowedAreas(Qt::AllDockWidgetAreas);

    auto *body = new QWidget(this);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(6, 4, 6, 6);
    m_pHeading = new QLabel(body);
    m_pHeading->setObjectName(QStringLiteral("engineStatusHeading"));
    m_pHeading->setTextFormat(Qt::PlainText);
    m_pHeading->setWordWrap(true);
    layout->addWidget(m_pHeading);

    m_pTable = new QTableView(body);
    m_pTable->setObjectName(QStringLiteral("engineStatusTable"));
    m_pTable->setModel(&m_status);
    m_pTable->setAccessibleName(QStringLiteral("Engines of the run"));
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pTable->setAlternatingRowColors(true);
    m_pTable->setShowGrid(false);
    m_pTable->setWordWrap(false);
    m_pTable->setTextElideMode(Qt::ElideRight);
    m_pTable->verticalHeader()->hide();
    // One line per engine: a fixed height from the font, not measured row by row.
    m_pTable->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_pTable->verticalHeader()->setDefaultSectionSize(m_pTable->fontMetrics().height() + 6);
    QHeaderView *header = m_pTable->horizontalHeader();
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < CEngineRunStatus::ReasonColumn; ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    header->setStretchLastSection(true);
    // Column widths from the first rows only: measuring every row at every engine's end
    // would make a long list slow to follow.
    header->setResizeContentsPrecision(64);
    layout->addWidget(m_pTable, 1);
    setWidget(body);

    m_tick.setInterval(500);
    connect(&m_tick, &QTimer::timeout, &m_status, &CEngineRunStatus::refreshElapsed);
    connect(&m_status, &CEngineRunStatus::summaryChanged, this, &CEngineStatusPanel::OnSummaryChanged);
    OnSummaryChanged();
}

void CEngineStatusPanel::OnSummaryChanged()
{
    m_pHeading->setText(m_status.headingText());
    // Without a run there is nothing to tabulate; the heading says so.
    m_pTable->setVisible(m_status.hasRun());
    if (m_status.isRunning())
        m_tick.start();
    else
        m_tick.stop();
}
