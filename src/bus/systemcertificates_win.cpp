#include "bus/systemcertificates.h"

#include <memory>
#include <mosquitto.h>

// windows.h before wincrypt.h; both before OpenSSL, whose headers undo wincrypt's X509_NAME.
#include <windows.h>

#include <wincrypt.h>

#include <openssl/ssl.h>
#include <openssl/x509v3.h>

namespace velk {

namespace {

struct ContextFree {
    void operator()(SSL_CTX* context) const { SSL_CTX_free(context); }
};

// OpenSSL does not read the Windows root store by itself: its certificates are copied into the
// context's store. Returns how many were taken.
int addRootStore(X509_STORE* store) {
    const HCERTSTORE roots = CertOpenSystemStoreW(0, L"ROOT");
    if (!roots)
        return 0;
    int added = 0;
    for (PCCERT_CONTEXT entry = CertEnumCertificatesInStore(roots, nullptr); entry;
         entry = CertEnumCertificatesInStore(roots, entry)) {
        const unsigned char* bytes = entry->pbCertEncoded;
        X509* certificate = d2i_X509(nullptr, &bytes, long(entry->cbCertEncoded));
        if (!certificate)
            continue;
        if (X509_STORE_add_cert(store, certificate) == 1)
            ++added;
        X509_free(certificate);
    }
    CertCloseStore(roots, 0);
    return added;
}

// With a context of its own the library checks the chain but not the broker's name: the
// certificate must be for the host the client asked for (the name it sends as SNI).
int verifyBroker(int chainValid, X509_STORE_CTX* verified) {
    if (!chainValid || X509_STORE_CTX_get_error_depth(verified) != 0)
        return chainValid;
    const auto* ssl = static_cast<const SSL*>(
        X509_STORE_CTX_get_ex_data(verified, SSL_get_ex_data_X509_STORE_CTX_idx()));
    const char* host = ssl ? SSL_get_servername(ssl, TLSEXT_NAMETYPE_host_name) : nullptr;
    X509* certificate = X509_STORE_CTX_get_current_cert(verified);
    if (!host || !certificate)
        return 0;
    const bool matches = X509_check_host(certificate, host, 0, 0, nullptr) == 1 ||
                         X509_check_ip_asc(certificate, host, 0) == 1;
    if (!matches)
        X509_STORE_CTX_set_error(verified, X509_V_ERR_HOSTNAME_MISMATCH);
    return matches ? 1 : 0;
}

} // namespace

int useSystemCertificates(mosquitto* client) {
    std::unique_ptr<SSL_CTX, ContextFree> context(SSL_CTX_new(TLS_client_method()));
    if (!context)
        return MOSQ_ERR_TLS;
    SSL_CTX_set_min_proto_version(context.get(), TLS1_2_VERSION);
    if (addRootStore(SSL_CTX_get_cert_store(context.get())) == 0)
        return MOSQ_ERR_TLS;
    SSL_CTX_set_verify(context.get(), SSL_VERIFY_PEER, &verifyBroker);
    // The library keeps a reference of its own; its defaults would want a CA file.
    int result = mosquitto_int_option(client, MOSQ_OPT_SSL_CTX_WITH_DEFAULTS, 0);
    if (result == MOSQ_ERR_SUCCESS)
        result = mosquitto_void_option(client, MOSQ_OPT_SSL_CTX, context.get());
    return result;
}

} // namespace velk
