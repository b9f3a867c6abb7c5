#include "dialogs/CAboutDlg.h"

#include "TrawlexIds.h"
#include "version/CVersionReply.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

using namespace TrawlexIds;

// The program's icon lives in the library's resources, which a static library must pull in.
static void initAboutResources()
{
    Q_INIT_RESOURCE(trawlex_gui);
}

CAboutDlg::CAboutDlg(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QString::number(IDD_ABOUTBOX));
    setWindowTitle(QStringLiteral("About Trawlex"));
    setModal(true);

    initAboutResources();
    auto *icon = new QLabel(this);
    QIcon image(QStringLiteral(":/trawlex/trawlex.png"));
    if (image.isNull())
        image = style()->standardIcon(QStyle::SP_MessageBoxInformation);
    icon->setPixmap(image.pixmap(32, 32));

    auto *name = new QLabel(QStringLiteral("Trawlex"), this);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    auto *version = new QLabel(CVersionReply::OwnVersionText(), this);
    version->setObjectName(QStringLiteral("version"));
    auto *maker = new QLabel(QStringLiteral("Quorvel Software"), this);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *grid = new QGridLayout(this);
    grid->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(name, 0, 1);
    grid->addWidget(version, 1, 1);
    grid->addWidget(maker, 2, 1);
    grid->addWidget(buttons, 0, 2, 3, 1, Qt::AlignTop);
    grid->setHorizontalSpacing(16);
    setFixedSize(sizeHint());
}
