#include "sheet/CTrawlexPropertyPageName.h"

#include "TrawlexIds.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace TrawlexIds;

CTrawlexPropertyPageName::CTrawlexPropertyPageName(QWidget *parent)
    : CTrawlexPropertyPage(IDD_PAGE_NAME, QStringLiteral("Name"), QStringLiteral("()'\""), parent)
    , m_pEditName(new QLineEdit(this))
    , m_pViewSource(new QPushButton(QStringLiteral("&View Source"), this))
{
    auto *prompt = new QLabel(QStringLiteral("Please enter a name for your Query:"), this);
    prompt->setBuddy(m_pEditName);
    m_pEditName->setObjectName(QString::number(IDC_NAME_EDIT));
    m_pViewSource->setObjectName(QString::number(IDC_NAME_VIEW_SOURCE));
    m_pViewSource->setAutoDefault(false);

    auto *layout = new QGridLayout(this);
    layout->addWidget(prompt, 0, 0, 1, 2);
    layout->addWidget(m_pEditName, 1, 0, 1, 2);
    layout->addWidget(m_pViewSource, 2, 1, Qt::AlignRight);
    layout->setRowStretch(3, 1);
    layout->setColumnStretch(0, 1);

    connect(m_pEditName, &QLineEdit::textChanged, this, [this](const QString &text) { m_strName = text; });
    connect(m_pViewSource, &QPushButton::clicked, this, &CTrawlexPropertyPageName::viewSourceRequested);
    installCharacterFilter();
}

void CTrawlexPropertyPageName::setName(const QString &name)
{
    m_strName = name;
    m_pEditName->setText(name);
}
