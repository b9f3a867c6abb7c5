#include "version/CTrawlexNewVersionDlg.h"

#include "TrawlexIds.h"
#include "version/CVersionReply.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace TrawlexIds;

CTrawlexNewVersionDlg::CTrawlexNewVersionDlg(double ownVersion, double currentVersion, const QString &features,
                                             QWidget *parent)
    : QDialog(parent)
    , m_dOwnVersion(ownVersion)
    , m_dCurrentVersion(currentVersion)
    , m_strFeatures(features)
{
    setObjectName(QString::number(IDD_NEW_VERSION));
    setWindowTitle(QStringLiteral("New Version Found"));
    setModal(true);

    m_strVersionsLine = QStringLiteral("Your version is %1.  The current version is %2.")
                            .arg(CVersionReply::FormatVersion(m_dOwnVersion),
                                 CVersionReply::FormatVersion(m_dCurrentVersion));
    m_strFeaturesLine = QStringLiteral("The new version features %1.").arg(m_strFeatures);

    // Plain text: the features come from the network and must not be read as markup.
    auto label = [this](int id, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QString::number(id));
        l->setTextFormat(Qt::PlainText);
        l->setWordWrap(true);
        return l;
    };
    m_pVersionsLine = label(IDC_NEW_VERSION_LINE, m_strVersionsLine);
    m_pFeaturesLine = label(IDC_NEW_VERSION_FEATURES, m_strFeaturesLine);
    QLabel *press = label(IDC_NEW_VERSION_PRESS,
                          QStringLiteral("Press 'Go to Quorvel Software web site' below to download new version."));

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *go = buttons->addButton(QStringLiteral("Go to Quorvel Software web site"), QDialogButtonBox::AcceptRole);
    QPushButton *back = buttons->addButton(QStringLiteral("Return to Trawlex"), QDialogButtonBox::RejectRole);
    go->setObjectName(QStringLiteral("1"));   // IDOK
    back->setObjectName(QStringLiteral("2")); // IDCANCEL
    go->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pVersionsLine);
    layout->addWidget(m_pFeaturesLine);
    layout->addSpacing(8);
    layout->addWidget(press);
    layout->addWidget(buttons, 0, Qt::AlignCenter);
    setMinimumWidth(380);
}
