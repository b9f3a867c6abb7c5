#include "dialogs/CPreferencesDlg.h"

#include "TrawlexIds.h"
#include "app/CTrawlexSettings.h"
#include "app/IUserPrompt.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

using namespace TrawlexIds;

namespace {
QLineEdit *numberField(int id, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::number(id));
    edit->setMaximumWidth(60);
    return edit;
}
} // namespace

CPreferencesDlg::CPreferencesDlg(IUserPrompt &prompt, QWidget *parent)
    : QDialog(parent)
    , m_prompt(prompt)
{
    setObjectName(QString::number(IDD_PREFERENCES));
    setWindowTitle(QStringLiteral("Preferences"));
    setModal(true);

    m_pMaxConns = numberField(IDC_PREF_MAX_CONNS, this);
    m_pMaxDelay = numberField(IDC_PREF_MAX_DELAY, this);
    m_pMaxDays = numberField(IDC_PREF_MAX_DAYS, this);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Maximum number of connections to open"), this), 0, 0);
    grid->addWidget(m_pMaxConns, 0, 1);
    // The label's carriage return was its line break.
    grid->addWidget(new QLabel(QStringLiteral("Maximum Delay time without results \n(seconds per search engine selected)"), this), 1, 0);
    grid->addWidget(m_pMaxDelay, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Maximum number of days before dead links expire"), this), 2, 0);
    grid->addWidget(m_pMaxDays, 2, 1);

    auto *engines = new QGroupBox(QStringLiteral("Search field engines"), this);
    m_pLastRunEngines = new QCheckBox(QStringLiteral("&Use the engines of the last query run"), engines);
    m_pLastRunEngines->setObjectName(QStringLiteral("lastRunEngines"));
    m_pSearchEngines = new QListWidget(engines);
    m_pSearchEngines->setObjectName(QStringLiteral("searchEngines"));
    m_pSearchEngines->setAccessibleName(QStringLiteral("Search field engines"));
    for (const QString &name : CTrawlexSettings::askableEngines()) {
        auto *item = new QListWidgetItem(name, m_pSearchEngines);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
    // While the field follows the last run, the list only shows what that was.
    connect(m_pLastRunEngines, &QCheckBox::toggled, m_pSearchEngines, &QWidget::setDisabled);
    auto *enginesLayout = new QVBoxLayout(engines);
    enginesLayout->addWidget(m_pLastRunEngines);
    enginesLayout->addWidget(m_pSearchEngines);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(engines);
    layout->addWidget(buttons);
}

void CPreferencesDlg::showEvent(QShowEvent *event)
{
    m_pMaxConns->setText(QString::number(m_nMaxConns));
    m_pMaxDelay->setText(QString::number(m_nMaxDelay));
    m_pMaxDays->setText(QString::number(m_nMaxDays));
    for (int i = 0; i < m_pSearchEngines->count(); ++i) {
        QListWidgetItem *item = m_pSearchEngines->item(i);
        item->setCheckState(m_searchEngines.contains(item->text(), Qt::CaseSensitive) ? Qt::Checked : Qt::Unchecked);
    }
    m_pLastRunEngines->setChecked(!m_bSearchEnginesChosen);
    m_pSearchEngines->setDisabled(!m_bSearchEnginesChosen);
    m_pMaxConns->setFocus();
    m_pMaxConns->selectAll();
    QDialog::showEvent(event);
}

bool CPreferencesDlg::ParseUnsigned(const QString &text, unsigned &value)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty())
        return false;
    quint64 number = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return false;
        number = number * 10 + static_cast<unsigned>(c.unicode() - u'0');
        if (number > std::numeric_limits<unsigned>::max())
            return false;
    }
    value = static_cast<unsigned>(number);
    return true;
}

bool CPreferencesDlg::readField(QLineEdit *edit, unsigned &value)
{
    if (ParseUnsigned(edit->text(), value))
        return true;
    m_prompt.showMessage(QStringLiteral("Please enter a positive integer."));
    edit->setFocus();
    edit->selectAll();
    return false;
}

void CPreferencesDlg::accept()
{
    // Fields in their tab order; the first bad one keeps the dialog open and nothing is taken.
    unsigned conns = 0, delay = 0, days = 0;
    if (!readField(m_pMaxConns, conns) || !readField(m_pMaxDelay, delay) || !readField(m_pMaxDays, days))
        return;
    const bool chosen = !m_pLastRunEngines->isChecked();
    const QStringList engines = checkedEngines();
    if (chosen && engines.isEmpty()) {
        m_prompt.showMessage(QStringLiteral("Error!  No Search engine selected."));
        m_pSearchEngines->setFocus();
        return;
    }
    m_nMaxConns = conns;
    m_nMaxDelay = delay;
    m_nMaxDays = days;
    m_bSearchEnginesChosen = chosen;
    if (chosen)
        m_searchEngines = engines;
    QDialog::accept();
}

QStringList CPreferencesDlg::checkedEngines() const
{
    QStringList names;
    for (int i = 0; i < m_pSearchEngines->count(); ++i) {
        const QListWidgetItem *item = m_pSearchEngines->item(i);
        if (item->checkState() == Qt::Checked)
            names.append(item->text());
    }
    return names;
}
