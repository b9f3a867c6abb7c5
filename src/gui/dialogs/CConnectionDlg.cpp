#include "dialogs/CConnectionDlg.h"

#include "TrawlexIds.h"
#include "app/CTrawlexSettings.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace TrawlexIds;

CConnectionDlg::CConnectionDlg(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QString::number(IDD_CONNECTION));
    setWindowTitle(QStringLiteral("Connection"));
    setModal(true);

    auto *text = new QLabel(QStringLiteral("Do you dial into the internet or have a direct connection?"), this);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *direct = buttons->addButton(QStringLiteral("Direct or AOL"), QDialogButtonBox::AcceptRole);
    QPushButton *dial = buttons->addButton(QStringLiteral("Dial-Up"), QDialogButtonBox::RejectRole);
    direct->setObjectName(QStringLiteral("1")); // IDOK
    dial->setObjectName(QStringLiteral("2"));   // IDCANCEL
    direct->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons, 0, Qt::AlignCenter);
}

bool CConnectionDlg::AskAndStore(CTrawlexSettings &settings, QWidget *parent)
{
    CConnectionDlg dlg(parent);
    const bool direct = dlg.exec() == QDialog::Accepted;
    settings.setConnection(direct);
    return direct;
}
