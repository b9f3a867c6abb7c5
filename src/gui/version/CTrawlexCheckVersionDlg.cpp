#include "version/CTrawlexCheckVersionDlg.h"

#include "TrawlexIds.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace TrawlexIds;

CTrawlexCheckVersionDlg::CTrawlexCheckVersionDlg(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QString::number(IDD_CHECK_VERSION));
    setWindowTitle(QStringLiteral("Check New Version"));
    setModal(true);

    auto *text = new QLabel(QStringLiteral("Please wait a moment while Trawlex checks whether or not you have "
                                           "the most current version..."),
                            this);
    text->setWordWrap(true);
    text->setMinimumWidth(300);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton *cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setText(QStringLiteral("Cancel"));
    cancel->setObjectName(QStringLiteral("2")); // IDCANCEL
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons, 0, Qt::AlignCenter);
}
