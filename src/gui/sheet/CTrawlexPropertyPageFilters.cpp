#include "sheet/CTrawlexPropertyPageFilters.h"

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

CTrawlexPropertyPageFilters::CTrawlexPropertyPageFilters(QWidget *parent)
    : CTrawlexPropertyPage(IDD_PAGE_FILTERS, QStringLiteral("Filters"), QStringLiteral("()\""), parent)
    , m_pComboType(new QComboBox(this))
    , m_pEditKeyword(new QLineEdit(this))
    , m_pListVisible(new QListWidget(this))
    , m_pQualifier(new CQualifierButtons(QString(),
                                         {IDC_FILTERS_INCLUDE, IDC_FILTERS_EXCLUDE, IDC_FILTERS_OPTIONAL},
                                         {QStringLiteral("&Include"), QStringLiteral("&Exclude"),
                                          QStringLiteral("&Optional")},
                                         this))
    , m_pAdd(new QPushButton(QStringLiteral("&Add"), this))
    , m_pRemove(new QPushButton(QStringLiteral("&Remove"), this))
{
    m_pComboType->setObjectName(QString::number(IDC_FILTERS_TYPE_COMBO));
    m_pEditKeyword->setObjectName(QString::number(IDC_FILTERS_EDIT));
    m_pListVisible->setObjectName(QString::number(IDC_FILTERS_VISIBLE_LIST));
    m_pAdd->setObjectName(QString::number(IDC_FILTERS_ADD));
    m_pRemove->setObjectName(QString::number(IDC_FILTERS_REMOVE));
    m_pAdd->setAutoDefault(false);
    m_pRemove->setAutoDefault(false);
    m_pQualifier->setFlat(true);

    auto *prompt = new QLabel(QStringLiteral("Select filters for document titles, urls, or links to other documents"), this);
    prompt->setWordWrap(true);
    auto *typeLabel = new QLabel(QStringLiteral("&Type of filter:"), this);
    typeLabel->setBuddy(m_pComboType);

    auto *keywordBox = new QGroupBox(QStringLiteral("Keyword"), this);
    auto *boxLayout = new QGridLayout(keywordBox);
    boxLayout->addWidget(m_pEditKeyword, 0, 0);
    boxLayout->addWidget(m_pAdd, 0, 1);
    boxLayout->addWidget(m_pRemove, 0, 2);
    boxLayout->addWidget(m_pListVisible, 1, 0);
    boxLayout->addWidget(m_pQualifier, 1, 1, 1, 2, Qt::AlignTop);
    boxLayout->setColumnStretch(0, 1);

    auto *layout = new QGridLayout(this);
    layout->addWidget(prompt, 0, 0, 1, 3);
    layout->addWidget(typeLabel, 1, 0);
    layout->addWidget(m_pComboType, 1, 1);
    layout->addWidget(keywordBox, 2, 0, 1, 3);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(2, 1);

    connect(m_pAdd, &QPushButton::clicked, this, &CTrawlexPropertyPageFilters::OnAdd);
    connect(m_pRemove, &QPushButton::clicked, this, &CTrawlexPropertyPageFilters::OnRemove);
    connect(m_pComboType, &QComboBox::activated, this, &CTrawlexPropertyPageFilters::OnSelChangeType);
    connect(m_pListVisible, &QListWidget::itemSelectionChanged, this,
            &CTrawlexPropertyPageFilters::OnSelChangeKeywords);
    installCharacterFilter();
    Reset();
}

void CTrawlexPropertyPageFilters::Reset()
{
    // The three types as the page always received them; the sorted box lists Link first.
    m_pComboType->clear();
    for (const char *type : {"Title", "URL", "Link"})
        insertSorted(m_pComboType, QLatin1String(type));
    m_pComboType->setCurrentIndex(0);
    m_pEditKeyword->clear();
    m_pListVisible->clear();
    m_filterEntries.clear();
    ResetChoice();
}

void CTrawlexPropertyPageFilters::AddEntry(const QString &entry)
{
    m_filterEntries.append(entry);
    if (CQuerySheetEntries::BeforeFirstColon(entry) == m_pComboType->currentText())
        insertSorted(m_pListVisible, CQuerySheetEntries::AfterLastColon(entry));
}

void CTrawlexPropertyPageFilters::ResetChoice()
{
    m_nQualifier = 0;
    m_pQualifier->showChoice(m_nQualifier);
}

void CTrawlexPropertyPageFilters::OnAdd()
{
    const QString keyword = m_pEditKeyword->text();
    if (keyword.isEmpty()) {
        MessageBox(QStringLiteral("Keywords contents empty!"));
        return;
    }
    const QString type = m_pComboType->currentText();
    if (type.isEmpty()) {
        MessageBox(QStringLiteral("Filter contents empty!"));
        return;
    }
    if (indexOfEntry(m_filterEntries, type, keyword) >= 0) {
        MessageBox(QStringLiteral("Filter and Keyword combination already exist!"));
        return;
    }
    m_pQualifier->takeChoice(m_nQualifier);
    m_filterEntries.append(type + QLatin1Char(':') + qualifierName(m_nQualifier) + QLatin1Char(':') + keyword);
    m_pEditKeyword->clear();
    insertSorted(m_pListVisible, keyword);
    ResetChoice();
}

void CTrawlexPropertyPageFilters::OnRemove()
{
    const int row = SelectedKeywordRow(m_pListVisible, m_pEditKeyword);
    if (row < 0)
        return;
    const QString type = m_pComboType->currentText();
    if (type.isEmpty()) {
        MessageBox(QStringLiteral("Must set Active Filter First!"));
        return;
    }
    m_pEditKeyword->clear();
    if (const qsizetype i = indexOfEntry(m_filterEntries, type, takeRow(m_pListVisible, row)); i >= 0)
        m_filterEntries.removeAt(i);
    ResetChoice();
}

void CTrawlexPropertyPageFilters::OnSelChangeType()
{
    m_pEditKeyword->clear();
    m_pListVisible->clear();
    listKeywordsOf(m_pListVisible, m_filterEntries, m_pComboType->currentText());
    m_pQualifier->showChoice(m_nQualifier);
}

void CTrawlexPropertyPageFilters::OnSelChangeKeywords()
{
    const QListWidgetItem *item = m_pListVisible->currentItem();
    if (!item || !item->isSelected())
        return;
    if (const qsizetype i = indexOfEntry(m_filterEntries, m_pComboType->currentText(), item->text()); i >= 0)
        m_nQualifier = qualifierIndex(betweenColons(m_filterEntries.at(i)));
    m_pQualifier->showChoice(m_nQualifier);
}
