#include "server/Md5.h"

#include <openssl/evp.h>

#include <array>
#include <fstream>
#include <memory>

namespace {

using DigestContext = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

std::string finishHex(EVP_MD_CTX* context) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(context, digest, &length);
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex.push_back(kDigits[digest[i] >> 4]);
        hex.push_back(kDigits[digest[i] & 0xF]);
    }
    return hex;
}

DigestContext newMd5Context() {
    DigestContext context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr);
    return context;
}

}  // namespace

std::string md5Hex(const std::string& bytes) {
    DigestContext context = newMd5Context();
    EVP_DigestUpdate(context.get(), bytes.data(), bytes.size());
    return finishHex(context.get());
}

std::optional<std::string> md5HexOfFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    DigestContext context = newMd5Context();
    std::array<char, 64 * 1024> buffer;
    while (in.read(buffer.data(), buffer.size()) || in.gcount() > 0) {
        EVP_DigestUpdate(context.get(), buffer.data(), static_cast<std::size_t>(in.gcount()));
    }
    return finishHex(context.get());
}
