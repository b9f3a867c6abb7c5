#include "sheet/CTrawlexPropertySheetQuery.h"

#include "TrawlexIds.h"
#include "app/IUserPrompt.h"
#include "query/CQuerySheetEntries.h"
#include "query/CTrawlexQuery.h"
#include "run/CQueryCommands.h"
#include "sheet/CTrawlexPropertyPageFilters.h"
#include "sheet/CTrawlexPropertyPageGroups.h"
#include "sheet/CTrawlexPropertyPageKeywords.h"
#include "sheet/CTrawlexPropertyPageName.h"
#include "sheet/CTrawlexPropertyPageWhere.h"
#include "sheet/CViewSourceDlg.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace TrawlexIds;

CTrawlexPropertySheetQuery::CTrawlexPropertySheetQuery(QWidget *parent)
    : QDialog(parent)
    , m_pName(new CTrawlexPropertyPageName)
    , m_pKeywords(new CTrawlexPropertyPageKeywords)
    , m_pGroups(new CTrawlexPropertyPageGroups)
    , m_pWhere(new CTrawlexPropertyPageWhere)
    , m_pFilters(new CTrawlexPropertyPageFilters)
    , m_pTabs(new QTabWidget(this))
    , m_pButtons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setObjectName(QString::number(IDS_SETUP_QUERY));
    setWindowTitle(QStringLiteral("Set Up Query"));
    setModal(true);
    // Tab order: name, keywords, groups, filters, engines.
    for (CTrawlexPropertyPage *page : std::initializer_list<CTrawlexPropertyPage *>{
             m_pName, m_pKeywords, m_pGroups, m_pFilters, m_pWhere})
        m_pTabs->addTab(page, page->title());

    // No Apply button: OK and Cancel sit where it would have been.
    m_pButtons->button(QDialogButtonBox::Ok)->setObjectName(QString::number(IDOK));
    m_pButtons->button(QDialogButtonBox::Cancel)->setObjectName(QString::number(IDCANCEL));
    connect(m_pButtons, &QDialogButtonBox::accepted, this, &CTrawlexPropertySheetQuery::accept);
    connect(m_pButtons, &QDialogButtonBox::rejected, this, &CTrawlexPropertySheetQuery::reject);
    connect(m_pName, &CTrawlexPropertyPageName::viewSourceRequested, this, &CTrawlexPropertySheetQuery::OnViewSource);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pTabs);
    layout->addWidget(m_pButtons);
    resize(560, 400);
}

CTrawlexPropertySheetQuery::~CTrawlexPropertySheetQuery() = default;

void CTrawlexPropertySheetQuery::setUserPrompt(IUserPrompt *prompt)
{
    m_pPrompt = prompt;
    for (CTrawlexPropertyPage *page : std::initializer_list<CTrawlexPropertyPage *>{
             m_pName, m_pKeywords, m_pGroups, m_pFilters, m_pWhere})
        page->setUserPrompt(prompt);
}

CQuerySheetEntries CTrawlexPropertySheetQuery::Entries() const
{
    CQuerySheetEntries entries;
    entries.m_strName = m_pName->name();
    entries.m_keywordEntries = m_pKeywords->keywordEntries();
    entries.m_groupEntries = m_pGroups->groupEntries();
    entries.m_memberEntries = m_pGroups->memberEntries();
    entries.m_filterEntries = m_pFilters->filterEntries();
    entries.m_engines = m_pWhere->selectedEngines();
    return entries;
}

void CTrawlexPropertySheetQuery::ResetPages()
{
    m_pName->setName(QString());
    m_pKeywords->Reset();
    m_pGroups->Reset();
    m_pFilters->Reset();
    m_pWhere->Reset();
}

void CTrawlexPropertySheetQuery::FillFromQuery(const CTrawlexQuery &query)
{
    ResetPages();
    const CQuerySheetEntries entries = CQuerySheetEntries::FromQuery(query);
    m_pName->setName(query.m_strName);
    for (const QString &entry : entries.m_keywordEntries)
        m_pKeywords->AddEntry(entry);
    for (const QString &entry : entries.m_groupEntries)
        m_pGroups->AddGroupEntry(entry);
    for (const QString &entry : entries.m_memberEntries)
        m_pGroups->AddMemberEntry(entry);
    m_pGroups->SelectFirstGroup();
    for (const QString &entry : entries.m_filterEntries)
        m_pFilters->AddEntry(entry);
    for (const QString &engine : entries.m_engines)
        m_pWhere->setSelected(engine, true);
    m_pTabs->setCurrentIndex(0);
}

int CTrawlexPropertySheetQuery::DoModal(const CTrawlexQuery &query)
{
    FillFromQuery(query);
    m_pName->nameEdit()->setFocus();
    return exec();
}

bool CTrawlexPropertySheetQuery::OnApply()
{
    // Anything but a commit keeps the sheet open with everything in it.
    return m_pCommands && m_pCommands->commitSheet(Entries()) == CQueryCommands::Commit::Committed;
}

void CTrawlexPropertySheetQuery::accept()
{
    if (OnApply())
        QDialog::accept();
}

void CTrawlexPropertySheetQuery::OnViewSource()
{
    CTrawlexQuery query;
    Entries().FillQuery(query);
    CViewSourceDlg dialog(query.GetBooleanText(), this);
    emit viewSourceShown(&dialog);
    dialog.exec();
}
