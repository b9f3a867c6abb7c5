#include "SelfSignedCertificate.h"

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>

namespace {

template <auto Free>
struct Deleter
{
    template <typename T>
    void operator()(T *p) const { Free(p); }
};
using Key = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY_free>>;
using Certificate = std::unique_ptr<X509, Deleter<X509_free>>;
using Bio = std::unique_ptr<BIO, Deleter<BIO_free>>;
using Number = std::unique_ptr<BIGNUM, Deleter<BN_free>>;
using Extension = std::unique_ptr<X509_EXTENSION, Deleter<X509_EXTENSION_free>>;

QString openSslError(const char *step)
{
    char text[256] = {};
    ERR_error_string_n(ERR_get_error(), text, sizeof text);
    return QStringLiteral("cannot make the HTTPS certificate (%1): %2").arg(QLatin1String(step), QLatin1String(text));
}

QByteArray pem(BIO *bio)
{
    char *data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    return QByteArray(data, qsizetype(size));
}

} // namespace

bool SelfSignedCertificate::make(QString *error)
{
    Key key(EVP_EC_gen("P-256"));
    if (!key) {
        *error = openSslError("key");
        return false;
    }
    Certificate cert(X509_new());
    if (!cert || !X509_set_version(cert.get(), 2)) {
        *error = openSslError("certificate");
        return false;
    }
    // A random serial: a client that saw an earlier run's certificate must not take this one for it.
    unsigned char serialBytes[16];
    if (RAND_bytes(serialBytes, sizeof serialBytes) != 1) {
        *error = openSslError("serial");
        return false;
    }
    serialBytes[0] &= 0x7F; // positive
    Number serial(BN_bin2bn(serialBytes, sizeof serialBytes, nullptr));
    if (!serial || !BN_to_ASN1_INTEGER(serial.get(), X509_get_serialNumber(cert.get()))) {
        *error = openSslError("serial");
        return false;
    }
    constexpr long kDay = 24 * 60 * 60;
    if (!X509_gmtime_adj(X509_getm_notBefore(cert.get()), -kDay)
        || !X509_gmtime_adj(X509_getm_notAfter(cert.get()), (kValidDays - 1) * kDay)) {
        *error = openSslError("validity");
        return false;
    }
    X509_NAME *name = X509_get_subject_name(cert.get());
    const auto *organisation = reinterpret_cast<const unsigned char *>("Trawlex engine simulator");
    const auto *commonName = reinterpret_cast<const unsigned char *>("127.0.0.1");
    if (!X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC, organisation, -1, -1, 0)
        || !X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, commonName, -1, -1, 0)
        || !X509_set_issuer_name(cert.get(), name) || !X509_set_pubkey(cert.get(), key.get())) {
        *error = openSslError("name");
        return false;
    }

    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, cert.get(), cert.get(), nullptr, nullptr, 0);
    const std::pair<int, const char *> extensions[] = {
        {NID_basic_constraints, "critical,CA:TRUE"},
        {NID_key_usage, "critical,digitalSignature,keyCertSign"},
        {NID_ext_key_usage, "serverAuth"},
        {NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost"},
        {NID_subject_key_identifier, "hash"},
    };
    for (const auto &[nid, value] : extensions) {
        Extension extension(X509V3_EXT_conf_nid(nullptr, &context, nid, value));
        if (!extension || !X509_add_ext(cert.get(), extension.get(), -1)) {
            *error = openSslError("extensions");
            return false;
        }
    }
    if (X509_sign(cert.get(), key.get(), EVP_sha256()) <= 0) {
        *error = openSslError("signature");
        return false;
    }

    Bio certBio(BIO_new(BIO_s_mem()));
    Bio keyBio(BIO_new(BIO_s_mem()));
    if (!certBio || !keyBio || !PEM_write_bio_X509(certBio.get(), cert.get())
        || !PEM_write_bio_PrivateKey(keyBio.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr)) {
        *error = openSslError("PEM");
        return false;
    }
    m_certificatePem = pem(certBio.get());
    m_privateKeyPem = pem(keyBio.get());
    return true;
}
