#pragma once

#include "sheet/CTrawlexPropertyPage.h"

#include <QStringList>

class CQualifierButtons;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// Page "Groups": named groups of keywords. The combo box lists the group names; the visible
// list shows the keywords of the group selected there. Group entries ("include:fruit") and
// member entries ("fruit:optional:pear") are kept in the two lists below, in the order added.
class CTrawlexPropertyPageGroups final : public CTrawlexPropertyPage
{
    Q_OBJECT
public:
    explicit CTrawlexPropertyPageGroups(QWidget *parent = nullptr);

    QComboBox *groupCombo() const { return m_pComboGroups; }
    QLineEdit *memberEdit() const { return m_pEditMember; }
    QListWidget *memberList() const { return m_pListMembers; }
    CQualifierButtons *groupQualifierButtons() const { return m_pGroupQualifier; }
    CQualifierButtons *memberQualifierButtons() const { return m_pMemberQualifier; }
    QPushButton *addGroupButton() const { return m_pAddGroup; }
    QPushButton *removeGroupButton() const { return m_pRemoveGroup; }
    QPushButton *addMemberButton() const { return m_pAddMember; }
    QPushButton *removeMemberButton() const { return m_pRemoveMember; }

    const QStringList &groupEntries() const { return m_groupEntries; }
    const QStringList &memberEntries() const { return m_memberEntries; }
    // The group selected in the combo box, or -1: typing a name that was not added deselects.
    int selectedGroup() const { return m_nSelectedGroup; }

    void Reset();
    void AddGroupEntry(const QString &entry);
    void AddMemberEntry(const QString &entry);
    // Selects the combo's first group and shows it, as after a selection by the user.
    void SelectFirstGroup();

    void OnAddGroup();
    void OnRemoveGroup();
    void OnAddMember();
    void OnRemoveMember();
    void OnSelChangeGroup();
    void OnSelChangeMember();

private:
    void SelectGroup(int index);
    QString SelectedGroupName() const;
    void ResetMemberChoice();

    QComboBox *m_pComboGroups;
    QLineEdit *m_pEditMember;
    QListWidget *m_pListMembers;
    CQualifierButtons *m_pGroupQualifier;
    CQualifierButtons *m_pMemberQualifier;
    QPushButton *m_pAddGroup;
    QPushButton *m_pRemoveGroup;
    QPushButton *m_pAddMember;
    QPushButton *m_pRemoveMember;
    QStringList m_groupEntries;  // the hidden list 1030
    QStringList m_memberEntries; // the hidden list 1011
    int m_nMemberQualifier = -1;
    int m_nGroupQualifier = -1;
    int m_nSelectedGroup = -1;
};
