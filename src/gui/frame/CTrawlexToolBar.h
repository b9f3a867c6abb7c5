#pragma once

#include <QFont>
#include <QToolBar>

class QAction;
class QLabel;
class QLineEdit;

// The main toolbar: the current-view label in the first slot, then the command buttons. The
// search field sits beside it on a bar of its own, so the toolbar keeps its twelve slots.
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

    // Adds a command button of the toolbar's fixed size, named for assistive tools.
    void addCommand(QAction *action);
    static QString accessibleText(const QAction *action);

    // Makes the bar of the search field (the parent owns it); the field keeps to its right end.
    QToolBar *createSearchBar(QWidget *parent);
    QLineEdit *searchField() const { return m_pSearchField; }
    // What the last search's reading could not take as written: a mark in the field whose
    // tool tip says it; none when notes is empty. Editing the text takes the mark away.
    void setSearchNotes(const QStringList &notes);
    QAction *searchNotesMark() const { return m_pNotesMark; }

private:
    QLabel *m_pViewLabel;
    QLineEdit *m_pSearchField = nullptr;
    QAction *m_pNotesMark = nullptr;
    QFont m_font;
    bool m_bFlyBy = true;
};
