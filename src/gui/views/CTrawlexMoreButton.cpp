#include "CTrawlexMoreButton.h"

#include "TrawlexIds.h"

CTrawlexMoreButton::CTrawlexMoreButton(QWidget *parent)
    : QPushButton(QStringLiteral("More"), parent)
{
    setObjectName(QString::number(TrawlexIds::IDC_MORE));
    setAccessibleName(QStringLiteral("More"));
    setAccessibleDescription(QStringLiteral("The next ten hits"));
}
