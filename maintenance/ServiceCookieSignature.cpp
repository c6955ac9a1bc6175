#include "maintenance/ServiceCookieSignature.h"

#include <openssl/evp.h>

#ifndef MIVRA_SIGN_PREFIX
#error "MIVRA_SIGN_PREFIX must be defined by the build"
#endif

std::string md5Hex(std::string_view bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr) != 1) return {};

    static constexpr char kHexDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(length * 2);
    for (unsigned int i = 0; i < length; ++i) {
        hex += kHexDigits[digest[i] >> 4];
        hex += kHexDigits[digest[i] & 0x0F];
    }
    return hex;
}

std::string serviceCookieSignature(std::string_view timestamp) {
    std::string signedText = MIVRA_SIGN_PREFIX;
    signedText.append(timestamp);
    return md5Hex(signedText);
}
