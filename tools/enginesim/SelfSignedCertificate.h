#pragma once

#include <QByteArray>
#include <QString>

// A certificate the simulator makes for itself at start, for HTTPS on
// loopback: EC P-256, self-signed and flagged as a CA so that a client can
// trust it as its own root, for IP 127.0.0.1 and DNS localhost, valid from
// yesterday for 30 days.
class SelfSignedCertificate final
{
public:
    // False with a message when OpenSSL fails.
    bool make(QString *error);

    const QByteArray &certificatePem() const { return m_certificatePem; }
    const QByteArray &privateKeyPem() const { return m_privateKeyPem; }

    static constexpr int kValidDays = 30;

private:
    QByteArray m_certificatePem;
    QByteArray m_privateKeyPem;
};
