#include "CTrawlexBrowseButton.h"

#include "TrawlexIds.h"

CTrawlexBrowseButton::CTrawlexBrowseButton(int hitIndex, const QString &title, QWidget *parent)
    : QPushButton(QStringLiteral("Browse"), parent)
    , m_nId(TrawlexIds::IDC_BROWSE_FIRST + hitIndex)
{
    setObjectName(QString::number(m_nId));
    setAccessibleName(QStringLiteral("Open ") + title);
    connect(this, &QPushButton::clicked, this, [this] { Q_EMIT browseHit(this->hitIndex()); });
}

int CTrawlexBrowseButton::hitIndex() const
{
    return m_nId - TrawlexIds::IDC_BROWSE_FIRST;
}
