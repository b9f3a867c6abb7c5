#include "sheet/CTrawlexPropertyPageKeywords.h"

#include "TrawlexIds.h"
#include "query/CQuerySheetEntries.h"
#include "sheet/CQualifierButtons.h"
#include "sheet/SheetLists.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace TrawlexIds;
using namespace SheetLists;

CTrawlexPropertyPageKeywords::CTrawlexPropertyPageKeywords(QWidget *parent)
    : CTrawlexPropertyPage(IDD_PAGE_KEYWORDS, QStringLiteral("Keywords"), QStringLiteral("()\""), parent)
    , m_pEditKeyword(new QLineEdit(this))
    , m_pListVisible(new QListWidget(this))
    , m_pQualifier(new CQualifierButtons(QStringLiteral("Options"),
                                         {IDC_KEYWORDS_INCLUDE, IDC_KEYWORDS_EXCLUDE, IDC_KEYWORDS_OPTIONAL},
                                         {QStringLiteral("&Include"), QStringLiteral("&Exclude"),
                                          QStringLiteral("&Optional")},
                                         this))
    , m_pAdd(new QPushButton(QStringLiteral("&Add"), this))
    , m_pRemove(new QPushButton(QStringLiteral("&Remove"), this))
{
    m_pEditKeyword->setObjectName(QString::number(IDC_KEYWORDS_EDIT));
    m_pListVisible->setObjectName(QString::number(IDC_KEYWORDS_VISIBLE_LIST));
    m_pAdd->setObjectName(QString::number(IDC_KEYWORDS_ADD));
    m_pRemove->setObjectName(QString::number(IDC_KEYWORDS_REMOVE));
    m_pAdd->setAutoDefault(false);
    m_pRemove->setAutoDefault(false);
    m_pListVisible->setTextElideMode(Qt::ElideRight);

    auto *prompt = new QLabel(QStringLiteral("Please enter Keywords for your Query:"), this);
    prompt->setBuddy(m_pEditKeyword);

    auto *layout = new QGridLayout(this);
    layout->addWidget(prompt, 0, 0, 1, 3);
    layout->addWidget(m_pEditKeyword, 1, 0);
    layout->addWidget(m_pAdd, 1, 1);
    layout->addWidget(m_pRemove, 1, 2);
    layout->addWidget(m_pListVisible, 2, 0);
    layout->addWidget(m_pQualifier, 2, 1, 1, 2, Qt::AlignTop);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(2, 1);

    connect(m_pAdd, &QPushButton::clicked, this, &CTrawlexPropertyPageKeywords::OnAdd);
    connect(m_pRemove, &QPushButton::clicked, this, &CTrawlexPropertyPageKeywords::OnRemove);
    connect(m_pListVisible, &QListWidget::itemSelectionChanged, this,
            &CTrawlexPropertyPageKeywords::OnSelChangeKeywords);
    installCharacterFilter();
    Reset();
}

void CTrawlexPropertyPageKeywords::Reset()
{
    m_pEditKeyword->clear();
    m_pListVisible->clear();
    m_keywordEntries.clear();
    ResetChoice();
}

void CTrawlexPropertyPageKeywords::AddEntry(const QString &entry)
{
    m_keywordEntries.append(entry);
    insertSorted(m_pListVisible, CQuerySheetEntries::AfterFirstColon(entry));
}

void CTrawlexPropertyPageKeywords::ResetChoice()
{
    m_nQualifier = 0;
    m_pQualifier->showChoice(m_nQualifier);
}

void CTrawlexPropertyPageKeywords::OnAdd()
{
    const QString keyword = m_pEditKeyword->text();
    if (keyword.isEmpty()) {
        MessageBox(QStringLiteral("Keywords contents empty!"));
        return;
    }
    if (findExact(m_pListVisible, keyword) >= 0) {
        MessageBox(QStringLiteral("Keyword already exists!"));
        return;
    }
    m_pQualifier->takeChoice(m_nQualifier);
    m_keywordEntries.append(qualifierName(m_nQualifier) + QLatin1Char(':') + keyword);
    m_pEditKeyword->clear();
    insertSorted(m_pListVisible, keyword);
    ResetChoice();
}

void CTrawlexPropertyPageKeywords::OnRemove()
{
    const int row = SelectedKeywordRow(m_pListVisible, m_pEditKeyword);
    if (row < 0)
        return;
    m_pEditKeyword->clear();
    const QString keyword = takeRow(m_pListVisible, row);
    for (qsizetype i = 0; i < m_keywordEntries.size(); ++i) {
        if (CQuerySheetEntries::AfterFirstColon(m_keywordEntries.at(i)) == keyword) {
            m_keywordEntries.removeAt(i);
            break;
        }
    }
    ResetChoice();
}

void CTrawlexPropertyPageKeywords::OnSelChangeKeywords()
{
    const QListWidgetItem *item = m_pListVisible->currentItem();
    if (!item || !item->isSelected())
        return;
    for (const QString &entry : std::as_const(m_keywordEntries)) {
        if (CQuerySheetEntries::AfterLastColon(entry) == item->text()) {
            m_nQualifier = qualifierIndex(CQuerySheetEntries::BeforeFirstColon(entry));
            m_pQualifier->showChoice(m_nQualifier);
            return;
        }
    }
}
