#pragma once
// A throw-away certificate authority and a server certificate it signed for
// 127.0.0.1 and localhost, made with OpenSSL when the object is created. The
// authority's certificate is written to a PEM file that a client can be told
// to trust; nothing else trusts it.
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <string>

class TestCertificates {
public:
    TestCertificates();
    ~TestCertificates();
    TestCertificates(const TestCertificates&) = delete;
    TestCertificates& operator=(const TestCertificates&) = delete;

    X509* serverCertificate() const { return serverCertificate_; }
    EVP_PKEY* serverKey() const { return serverKey_; }
    // The PEM file holding the authority's certificate; removed with the object.
    const std::string& authorityFile() const { return authorityFile_; }

private:
    EVP_PKEY* authorityKey_ = nullptr;
    X509* authorityCertificate_ = nullptr;
    EVP_PKEY* serverKey_ = nullptr;
    X509* serverCertificate_ = nullptr;
    std::string authorityFile_;
};
