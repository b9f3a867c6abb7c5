#include "sheet/CTrawlexPropertyPageGroups.h"

#include "TrawlexIds.h"
#include "query/CQuerySheetEntries.h"
#include "sheet/CQualifierButtons.h"
#include "sheet/SheetLists.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace TrawlexIds;
using namespace SheetLists;

CTrawlexPropertyPageGroups::CTrawlexPropertyPageGroups(QWidget *parent)
    : CTrawlexPropertyPage(IDD_PAGE_GROUPS, QStringLiteral("Groups"), QStringLiteral("()\""), parent)
    , m_pComboGroups(new QComboBox(this))
    , m_pEditMember(new QLineEdit(this))
    , m_pListMembers(new QListWidget(this))
    , m_pGroupQualifier(new CQualifierButtons(QString(),
                                              {IDC_GROUPS_GROUP_INCLUDE, IDC_GROUPS_GROUP_EXCLUDE, IDC_GROUPS_GROUP_OPTIONAL},
                                              {QStringLiteral("&Include"), QStringLiteral("&Exclude"),
                                               QStringLiteral("&Optional")},
                                              this))
    , m_pMemberQualifier(new CQualifierButtons(QString(),
                                               {IDC_GROUPS_MEMBER_INCLUDE, IDC_GROUPS_MEMBER_EXCLUDE, IDC_GROUPS_MEMBER_OPTIONAL},
                                               {QStringLiteral("I&nclude"), QStringLiteral("E&xclude"),
                                                QStringLiteral("O&ptional")},
                                               this))
    , m_pAddGroup(new QPushButton(QStringLiteral("&Add"), this))
    , m_pRemoveGroup(new QPushButton(QStringLiteral("&Remove"), this))
    , m_pAddMember(new QPushButton(QStringLiteral("A&dd"), this))
    , m_pRemoveMember(new QPushButton(QStringLiteral("Re&move"), this))
{
    m_pComboGroups->setEditable(true);
    m_pComboGroups->setInsertPolicy(QComboBox::NoInsert); // names go in through Add only
    m_pComboGroups->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_pComboGroups->setMinimumContentsLength(12);
    m_pComboGroups->setObjectName(QString::number(IDC_GROUPS_NAME_COMBO));
    m_pEditMember->setObjectName(QString::number(IDC_GROUPS_MEMBER_EDIT));
    m_pListMembers->setObjectName(QString::number(IDC_GROUPS_MEMBER_LIST));
    m_pAddGroup->setObjectName(QString::number(IDC_GROUPS_ADD_GROUP));
    m_pRemoveGroup->setObjectName(QString::number(IDC_GROUPS_REMOVE_GROUP));
    m_pAddMember->setObjectName(QString::number(IDC_GROUPS_ADD_MEMBER));
    m_pRemoveMember->setObjectName(QString::number(IDC_GROUPS_REMOVE_MEMBER));
    for (QPushButton *b : {m_pAddGroup, m_pRemoveGroup, m_pAddMember, m_pRemoveMember})
        b->setAutoDefault(false);
    m_pGroupQualifier->setFlat(true);
    m_pMemberQualifier->setFlat(true);

    auto *prompt = new QLabel(QStringLiteral("Please enter Groups of Keywords for your Query (Not Required):"), this);
    prompt->setWordWrap(true);

    auto *groupBox = new QGroupBox(QStringLiteral("Group Name"), this);
    auto *groupLayout = new QGridLayout(groupBox);
    groupLayout->addWidget(m_pComboGroups, 0, 0, 1, 2);
    groupLayout->addWidget(m_pAddGroup, 1, 0);
    groupLayout->addWidget(m_pRemoveGroup, 1, 1);
    groupLayout->addWidget(m_pGroupQualifier, 2, 0, 1, 2);
    groupLayout->setRowStretch(3, 1);

    auto *memberBox = new QGroupBox(QStringLiteral("Keywords"), this);
    auto *memberLayout = new QGridLayout(memberBox);
    memberLayout->addWidget(m_pEditMember, 0, 0);
    memberLayout->addWidget(m_pAddMember, 0, 1);
    memberLayout->addWidget(m_pRemoveMember, 0, 2);
    memberLayout->addWidget(m_pListMembers, 1, 0);
    memberLayout->addWidget(m_pMemberQualifier, 1, 1, 1, 2, Qt::AlignTop);
    memberLayout->setColumnStretch(0, 1);

    auto *layout = new QGridLayout(this);
    layout->addWidget(prompt, 0, 0, 1, 2);
    layout->addWidget(groupBox, 1, 0);
    layout->addWidget(memberBox, 1, 1);
    layout->setColumnStretch(0, 2);
    layout->setColumnStretch(1, 3);
    layout->setRowStretch(1, 1);

    connect(m_pAddGroup, &QPushButton::clicked, this, &CTrawlexPropertyPageGroups::OnAddGroup);
    connect(m_pRemoveGroup, &QPushButton::clicked, this, &CTrawlexPropertyPageGroups::OnRemoveGroup);
    connect(m_pAddMember, &QPushButton::clicked, this, &CTrawlexPropertyPageGroups::OnAddMember);
    connect(m_pRemoveMember, &QPushButton::clicked, this, &CTrawlexPropertyPageGroups::OnRemoveMember);
    connect(m_pComboGroups, &QComboBox::activated, this, [this](int index) {
        m_nSelectedGroup = index;
        OnSelChangeGroup();
    });
    // Typing into the name field leaves the list's selection, as a drop-down combo box does.
    connect(m_pComboGroups, &QComboBox::editTextChanged, this, [this](const QString &text) {
        if (m_nSelectedGroup >= 0 && m_pComboGroups->itemText(m_nSelectedGroup) != text)
            m_nSelectedGroup = -1;
    });
    connect(m_pListMembers, &QListWidget::itemSelectionChanged, this, &CTrawlexPropertyPageGroups::OnSelChangeMember);
    installCharacterFilter();
    Reset();
}

void CTrawlexPropertyPageGroups::Reset()
{
    m_pComboGroups->clear();
    m_pComboGroups->setEditText(QString());
    m_nSelectedGroup = -1;
    m_pEditMember->clear();
    m_pListMembers->clear();
    m_groupEntries.clear();
    m_memberEntries.clear();
    m_nGroupQualifier = 0;
    m_nMemberQualifier = 0;
    m_pGroupQualifier->showChoice(m_nGroupQualifier);
    m_pMemberQualifier->showChoice(m_nMemberQualifier);
}

void CTrawlexPropertyPageGroups::AddGroupEntry(const QString &entry)
{
    m_groupEntries.append(entry);
    insertSorted(m_pComboGroups, CQuerySheetEntries::AfterFirstColon(entry));
    // Inserting must not look like a selection.
    SelectGroup(-1);
}

void CTrawlexPropertyPageGroups::AddMemberEntry(const QString &entry)
{
    m_memberEntries.append(entry);
}

void CTrawlexPropertyPageGroups::SelectFirstGroup()
{
    if (m_pComboGroups->count() == 0)
        return;
    SelectGroup(0);
    OnSelChangeGroup();
}

void CTrawlexPropertyPageGroups::SelectGroup(int index)
{
    const QSignalBlocker block(m_pComboGroups);
    m_pComboGroups->setCurrentIndex(index);
    if (index < 0)
        m_pComboGroups->setEditText(QString());
    m_nSelectedGroup = index;
}

QString CTrawlexPropertyPageGroups::SelectedGroupName() const
{
    return m_nSelectedGroup >= 0 ? m_pComboGroups->itemText(m_nSelectedGroup) : QString();
}

void CTrawlexPropertyPageGroups::ResetMemberChoice()
{
    m_nMemberQualifier = 0;
    m_pMemberQualifier->showChoice(m_nMemberQualifier);
}

void CTrawlexPropertyPageGroups::OnAddGroup()
{
    const QString name = m_pComboGroups->currentText();
    if (name.isEmpty())
        return;
    if (findExact(m_pComboGroups, name) >= 0) {
        MessageBox(QStringLiteral("Group name already exists!"));
        return;
    }
    const int row = insertSorted(m_pComboGroups, name);
    SelectGroup(row);
    m_pGroupQualifier->takeChoice(m_nGroupQualifier);
    m_groupEntries.append(qualifierName(m_nGroupQualifier) + QLatin1Char(':') + name);
    m_pListMembers->clear();
    m_pEditMember->clear();
    m_pGroupQualifier->showChoice(m_nGroupQualifier);
    m_pMemberQualifier->showChoice(m_nMemberQualifier);
}

void CTrawlexPropertyPageGroups::OnAddMember()
{
    const QString keyword = m_pEditMember->text();
    if (keyword.isEmpty()) {
        MessageBox(QStringLiteral("Keywords contents empty!"));
        return;
    }
    if (m_nSelectedGroup < 0) {
        MessageBox(m_pComboGroups->currentText().isEmpty() ? QStringLiteral("Must set Active Group First!")
                                                           : QStringLiteral("Must add Active Group First!"));
        return;
    }
    const QString group = SelectedGroupName();
    if (indexOfEntry(m_memberEntries, group, keyword) >= 0) {
        MessageBox(QStringLiteral("Group and Keyword combination already exist!"));
        return;
    }
    m_pMemberQualifier->takeChoice(m_nMemberQualifier);
    m_memberEntries.append(group + QLatin1Char(':') + qualifierName(m_nMemberQualifier) + QLatin1Char(':') + keyword);
    m_pEditMember->clear();
    insertSorted(m_pListMembers, keyword);
    ResetMemberChoice();
}

void CTrawlexPropertyPageGroups::OnRemoveGroup()
{
    if (m_nSelectedGroup < 0) {
        MessageBox(m_pComboGroups->currentText().isEmpty() ? QStringLiteral("Must set Active Group First!")
                                                           : QStringLiteral("Must add Active Group First!"));
        return;
    }
    const int index = m_nSelectedGroup;
    const QString name = m_pComboGroups->itemText(index);
    // The name is cut, so it stays on the clipboard.
    if (QLineEdit *edit = m_pComboGroups->lineEdit()) {
        edit->selectAll();
        edit->cut();
    }
    {
        const QSignalBlocker block(m_pComboGroups);
        m_pComboGroups->removeItem(index);
    }
    SelectGroup(-1);
    m_memberEntries.removeIf([&name](const QString &entry) { return CQuerySheetEntries::BeforeFirstColon(entry) == name; });
    for (qsizetype i = 0; i < m_groupEntries.size(); ++i) {
        if (CQuerySheetEntries::AfterLastColon(m_groupEntries.at(i)) == name) {
            m_groupEntries.removeAt(i);
            break;
        }
    }
    m_nGroupQualifier = 0;
    m_pGroupQualifier->showChoice(m_nGroupQualifier);
    m_pMemberQualifier->showChoice(m_nMemberQualifier);
    m_pEditMember->clear();
    m_pListMembers->clear();
}

void CTrawlexPropertyPageGroups::OnRemoveMember()
{
    const int row = SelectedKeywordRow(m_pListMembers, m_pEditMember);
    if (row < 0)
        return;
    m_pEditMember->clear();
    const QString keyword = takeRow(m_pListMembers, row);
    if (const qsizetype i = indexOfEntry(m_memberEntries, SelectedGroupName(), keyword); i >= 0)
        m_memberEntries.removeAt(i);
    ResetMemberChoice();
}

void CTrawlexPropertyPageGroups::OnSelChangeGroup()
{
    m_pEditMember->clear();
    m_pListMembers->clear();
    const QString group = SelectedGroupName();
    if (m_nSelectedGroup < 0)
        return;
    listKeywordsOf(m_pListMembers, m_memberEntries, group);
    for (const QString &entry : std::as_const(m_groupEntries)) {
        if (CQuerySheetEntries::AfterLastColon(entry) == group) {
            m_nGroupQualifier = qualifierIndex(CQuerySheetEntries::BeforeFirstColon(entry));
            break;
        }
    }
    m_pGroupQualifier->showChoice(m_nGroupQualifier);
    m_pMemberQualifier->showChoice(m_nMemberQualifier);
}

void CTrawlexPropertyPageGroups::OnSelChangeMember()
{
    const QListWidgetItem *item = m_pListMembers->currentItem();
    if (!item || !item->isSelected())
        return;
    if (const qsizetype i = indexOfEntry(m_memberEntries, SelectedGroupName(), item->text()); i >= 0)
        m_nMemberQualifier = qualifierIndex(betweenColons(m_memberEntries.at(i)));
    m_pGroupQualifier->showChoice(m_nGroupQualifier);
    m_pMemberQualifier->showChoice(m_nMemberQualifier);
}
