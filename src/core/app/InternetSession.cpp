#include "InternetSession.h"

#include <QNetworkInterface>

bool IsInternetSessionActive(bool directConnection)
{
    if (directConnection)
        return true;
    return IsDialUpLinkUp();
}

bool IsDialUpLinkUp()
{
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    if (interfaces.isEmpty())
        return true;
    for (const QNetworkInterface &nic : interfaces) {
        const bool pointToPoint = nic.type() == QNetworkInterface::Ppp
            || nic.name().startsWith(QLatin1String("ppp"));
        if (pointToPoint && nic.flags().testFlag(QNetworkInterface::IsUp))
            return true;
    }
    return false;
}
