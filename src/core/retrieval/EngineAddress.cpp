#include "EngineAddress.h"

EngineAddress EngineAddress::fromAddressList(const QString &addressList, const QString &engine)
{
    const QString key = u'|' + engine + u'|';
    qsizetype pos = addressList.indexOf(key);
    if (engine.isEmpty() || pos < 0)
        return {};
    const qsizetype n = addressList.size();
    // Skip the bars, the name, then the bars again; the address runs to the next bar.
    while (pos < n && addressList.at(pos) == u'|')
        ++pos;
    while (pos < n && addressList.at(pos) != u'|')
        ++pos;
    while (pos < n && addressList.at(pos) == u'|')
        ++pos;
    qsizetype end = addressList.indexOf(u'|', pos);
    if (end < 0)
        end = n;
    return fromUrl(addressList.mid(pos, end - pos));
}

EngineAddress EngineAddress::fromUrl(const QString &stored)
{
    EngineAddress a;
    QString url = stored;
    if (url.startsWith(u'#'))
        url.remove(0, 1);
    if (url.endsWith(u'#'))
        url.chop(1);
    a.m_strUrl = url;

    QString rest = url.trimmed();
    if (rest.startsWith(QLatin1String("http://"), Qt::CaseInsensitive))
        rest.remove(0, 7);
    const qsizetype slash = rest.indexOf(u'/');
    if (slash <= 0)
        return a; // no host, or no path after it: nothing to ask
    QString host = rest.left(slash);
    a.m_strPath = rest.mid(slash + 1);

    const qsizetype colon = host.lastIndexOf(u':');
    if (colon >= 0) {
        bool ok = false;
        const uint port = host.mid(colon + 1).toUInt(&ok);
        if (!ok || port == 0 || port > 65535)
            return a;
        a.m_nPort = static_cast<quint16>(port);
        host.truncate(colon);
    }
    if (host.isEmpty())
        return a;
    a.m_strHost = host;
    a.m_bValid = true;
    return a;
}
