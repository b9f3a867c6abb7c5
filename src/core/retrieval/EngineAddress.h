#pragma once

#include <QString>

// An engine's address as found in the engine address list: "|" + name + "|" + address + "|"
// per engine. The address may be wrapped in one "#" on each side, may start with "http://",
// and may carry ":port" after the host (port 80 without one).
class EngineAddress final
{
public:
    // Looks the engine up by its exact name; an entry that is missing, or an address without a
    // "/" after the host, gives an invalid address.
    static EngineAddress fromAddressList(const QString &addressList, const QString &engine);
    // Parses one stored address ("#http://host:8080/cgi-bin/x#", "host/path", ...).
    static EngineAddress fromUrl(const QString &url);

    bool isValid() const { return m_bValid; }
    QString host() const { return m_strHost; }
    quint16 port() const { return m_nPort; }
    // Everything after the first "/" behind the host, as stored (no escaping).
    QString path() const { return m_strPath; }
    // The address with its "#" marks removed, as the connection keeps it.
    QString url() const { return m_strUrl; }

private:
    bool m_bValid = false;
    QString m_strUrl;
    QString m_strHost;
    quint16 m_nPort = 80;
    QString m_strPath;
};
