#pragma once

#include "sheet/CTrawlexPropertyPage.h"

#include <QStringList>

class CQualifierButtons;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// Page "Filters": keywords looked for in a hit's title, address or links. The visible list
// shows the keywords of the type selected; filter entries ("Title:include:apple") are kept in
// m_filterEntries in the order added.
class CTrawlexPropertyPageFilters final : public CTrawlexPropertyPage
{
    Q_OBJECT
public:
    explicit CTrawlexPropertyPageFilters(QWidget *parent = nullptr);

    QComboBox *typeCombo() const { return m_pComboType; }
    QLineEdit *keywordEdit() const { return m_pEditKeyword; }
    QListWidget *keywordList() const { return m_pListVisible; }
    CQualifierButtons *qualifierButtons() const { return m_pQualifier; }
    QPushButton *addButton() const { return m_pAdd; }
    QPushButton *removeButton() const { return m_pRemove; }

    const QStringList &filterEntries() const { return m_filterEntries; }

    // Empties the lists and the edit, "Link" selected, Include selected.
    void Reset();
    // Adds one entry as the sheet does when it shows a stored query: the visible list shows
    // it when its type is the one selected.
    void AddEntry(const QString &entry);

    void OnAdd();
    void OnRemove();
    void OnSelChangeType();
    void OnSelChangeKeywords();

private:
    void ResetChoice();

    QComboBox *m_pComboType;
    QLineEdit *m_pEditKeyword;
    QListWidget *m_pListVisible;
    CQualifierButtons *m_pQualifier;
    QPushButton *m_pAdd;
    QPushButton *m_pRemove;
    QStringList m_filterEntries; // the hidden list 1029
    int m_nQualifier = -1;
};
