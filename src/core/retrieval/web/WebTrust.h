#pragma once

#include <QList>
#include <QSslCertificate>
#include <QSslConfiguration>

// The certificates HTTPS engines are verified against: the system's, and the extra CA
// certificates the user names (a private engine, a company proxy, or a test's own server).
// Verification is never turned off.
//
// Extra certificates are PEM files, named by the environment variable
// TRAWLEX_CA_CERTIFICATES (paths separated by the platform's list separator, ":" on Linux)
// and by the setting "CACertificates" (the same form) in the program's settings group.
class WebTrust final
{
public:
    WebTrust() = delete;

    static constexpr const char *kEnvironmentVariable = "TRAWLEX_CA_CERTIFICATES";
    static constexpr const char *kSettingName = "CACertificates";

    static QList<QSslCertificate> extraCertificates();
    // The default configuration with the extra certificates added to its CA list.
    static QSslConfiguration configuration();
};
