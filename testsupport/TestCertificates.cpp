#include "TestCertificates.h"

#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace {

void check(bool ok, const char* what) {
    if (!ok) throw std::runtime_error(std::string("test certificate: ") + what);
}

EVP_PKEY* newKey() {
    EVP_PKEY* key = EVP_EC_gen("P-256");
    check(key != nullptr, "key generation");
    return key;
}

void addExtension(X509* certificate, X509* issuer, int nid, const char* value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    check(extension != nullptr && X509_add_ext(certificate, extension, -1) == 1, "extension");
    X509_EXTENSION_free(extension);
}

// A certificate for `key` named `commonName`, signed by `issuerKey` as
// `issuer` (itself when null). Valid from an hour ago for thirty days.
X509* newCertificate(EVP_PKEY* key, const char* commonName, long serial, X509* issuer, EVP_PKEY* issuerKey) {
    X509* certificate = X509_new();
    check(certificate != nullptr, "allocation");
    X509_set_version(certificate, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate), serial);
    X509_gmtime_adj(X509_getm_notBefore(certificate), -3600);
    X509_gmtime_adj(X509_getm_notAfter(certificate), 30L * 24 * 3600);
    X509_set_pubkey(certificate, key);
    X509_NAME* name = X509_get_subject_name(certificate);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0);
    X509* signer = issuer ? issuer : certificate;
    X509_set_issuer_name(certificate, X509_get_subject_name(signer));
    if (!issuer) {
        addExtension(certificate, signer, NID_basic_constraints, "critical,CA:TRUE");
        addExtension(certificate, signer, NID_key_usage, "critical,keyCertSign,cRLSign");
        addExtension(certificate, signer, NID_subject_key_identifier, "hash");
    } else {
        addExtension(certificate, signer, NID_basic_constraints, "critical,CA:FALSE");
        addExtension(certificate, signer, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");
        addExtension(certificate, signer, NID_authority_key_identifier, "keyid");
    }
    check(X509_sign(certificate, issuerKey ? issuerKey : key, EVP_sha256()) > 0, "signing");
    return certificate;
}

}  // namespace

TestCertificates::TestCertificates() {
    authorityKey_ = newKey();
    authorityCertificate_ = newCertificate(authorityKey_, "Mivra Test Authority", 1, nullptr, nullptr);
    serverKey_ = newKey();
    serverCertificate_ = newCertificate(serverKey_, "127.0.0.1", 2, authorityCertificate_, authorityKey_);

    authorityFile_ = (std::filesystem::temp_directory_path() / "mivra-test-authority-XXXXXX").string();
    int descriptor = mkstemp(authorityFile_.data());
    check(descriptor >= 0, "creating the authority file");
    FILE* file = fdopen(descriptor, "w");
    check(file != nullptr, "writing the authority file");
    bool written = PEM_write_X509(file, authorityCertificate_) == 1;
    std::fclose(file);
    check(written, "writing the authority file");
}

TestCertificates::~TestCertificates() {
    std::remove(authorityFile_.c_str());
    X509_free(serverCertificate_);
    EVP_PKEY_free(serverKey_);
    X509_free(authorityCertificate_);
    EVP_PKEY_free(authorityKey_);
}
