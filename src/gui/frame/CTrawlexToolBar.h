#pragma once

#include <QFont>
#include <QToolBar>

class QLabel;

// The main toolbar: the current-view label in the first slot, then the command buttons.
class CTrawlexToolBar final : public QToolBar
{
    Q_OBJECT
public:
    explicit CTrawlexToolBar(QWidget *parent = nullptr);

    QLabel *viewLabel() const { return m_pViewLabel; }
    void setViewLabelText(const QString &text);

    // Fly-by status texts: off while a query runs, so they do not overwrite its progress.
    bool flyBy() const { return m_bFlyBy; }
    void setFlyBy(bool on) { m_bFlyBy = on; }

    // Adds a command button of the toolbar's fixed size.
    void addCommand(QAction *action);

private:
    QLabel *m_pViewLabel;
    QFont m_font;
    bool m_bFlyBy = true;
};
