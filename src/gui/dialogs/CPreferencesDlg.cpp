#include "dialogs/CPreferencesDlg.h"

#include "TrawlexIds.h"
#include "app/IUserPrompt.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
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

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void CPreferencesDlg::showEvent(QShowEvent *event)
{
    m_pMaxConns->setText(QString::number(m_nMaxConns));
    m_pMaxDelay->setText(QString::number(m_nMaxDelay));
    m_pMaxDays->setText(QString::number(m_nMaxDays));
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
    m_nMaxConns = conns;
    m_nMaxDelay = delay;
    m_nMaxDays = days;
    QDialog::accept();
}
