#pragma once

#include "sheet/CTrawlexPropertyPage.h"

#include <QStringList>

class CQualifierButtons;
class QLineEdit;
class QListWidget;
class QPushButton;

// Page "Keywords": the free keywords. The visible list shows the bare keywords (sorted); the
// keyword entries ("include:apple") are kept in m_keywordEntries in the order added.
class CTrawlexPropertyPageKeywords final : public CTrawlexPropertyPage
{
    Q_OBJECT
public:
    explicit CTrawlexPropertyPageKeywords(QWidget *parent = nullptr);

    QLineEdit *keywordEdit() const { return m_pEditKeyword; }
    QListWidget *keywordList() const { return m_pListVisible; }
    CQualifierButtons *qualifierButtons() const { return m_pQualifier; }
    QPushButton *addButton() const { return m_pAdd; }
    QPushButton *removeButton() const { return m_pRemove; }

    const QStringList &keywordEntries() const { return m_keywordEntries; }
    int qualifierChoice() const { return m_nQualifier; }

    // Empties both lists and the edit, Include selected.
    void Reset();
    // Adds one entry as the sheet does when it shows a stored query.
    void AddEntry(const QString &entry);

    void OnAdd();
    void OnRemove();
    void OnSelChangeKeywords();

private:
    void ResetChoice();

    QLineEdit *m_pEditKeyword;
    QListWidget *m_pListVisible;
    CQualifierButtons *m_pQualifier;
    QPushButton *m_pAdd;
    QPushButton *m_pRemove;
    QStringList m_keywordEntries; // the hidden list 1028
    int m_nQualifier = -1;
};
