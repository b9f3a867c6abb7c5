#include "CTrawlexPreviousButton.h"

#include "TrawlexIds.h"

CTrawlexPreviousButton::CTrawlexPreviousButton(QWidget *parent)
    : QPushButton(QStringLiteral("Previous"), parent)
{
    setObjectName(QString::number(TrawlexIds::IDC_PREVIOUS));
    setAccessibleName(QStringLiteral("Previous"));
    setAccessibleDescription(QStringLiteral("The ten hits before these"));
}
