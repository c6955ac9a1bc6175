#include "net/ServiceCipher.h"

#include "text/TextUtils.h"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <algorithm>
#include <memory>

namespace {

// The service's published protocol constants.
constexpr std::string_view kWeapiPresetKey = "0CoJUm6Qyw8W8jud";
constexpr std::string_view kWeapiIv = "0102030405060708";
constexpr std::string_view kLinuxapiKey = "rFgB&h#%2?^eDg:Q";
constexpr std::string_view kEapiKey = "e82ckenh8dichen8";
constexpr std::string_view kEapiSeparator = "-36cd479b6b5-";
constexpr std::string_view kBase62 = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr const char* kWeapiPublicKey =
    "-----BEGIN PUBLIC KEY-----\n"
    "MIGfMA0GCSqGSIb3DQEBAQUAA4GNADCBiQKBgQDgtQn2JZ34ZC28NWYpAUd98iZ37BUrX/"
    "aKzmFbt7clFSs6sXqHauqKWqdtLkF2KexO40H1YTX8z2lSgBBOAxLsvaklV8k4cBFK9snQXE9/"
    "DDaFt6Rr7iVZMldczhC0JNgTz+SHXT6CBHuX3e9SdB1Ua44oncaTWz7OBGLbCiK45wIDAQAB\n"
    "-----END PUBLIC KEY-----\n";

enum class Direction { Encrypt, Decrypt };

// AES-128 in CBC mode (with `iv`) or ECB mode (empty `iv`), PKCS#7 padding.
// Nothing when the key is not 16 bytes or the input does not decrypt.
std::optional<std::string> aes(std::string_view input, std::string_view key, std::string_view iv, Direction direction) {
    if (key.size() != 16 || (!iv.empty() && iv.size() != 16)) return std::nullopt;
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> context(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
    if (!context) return std::nullopt;
    const EVP_CIPHER* cipher = iv.empty() ? EVP_aes_128_ecb() : EVP_aes_128_cbc();
    const auto* keyBytes = reinterpret_cast<const unsigned char*>(key.data());
    const auto* ivBytes = iv.empty() ? nullptr : reinterpret_cast<const unsigned char*>(iv.data());
    if (EVP_CipherInit_ex(context.get(), cipher, nullptr, keyBytes, ivBytes, direction == Direction::Encrypt ? 1 : 0) !=
        1)
        return std::nullopt;
    std::string output(input.size() + 32, '\0');
    int written = 0;
    int finalWritten = 0;
    auto* out = reinterpret_cast<unsigned char*>(output.data());
    if (EVP_CipherUpdate(context.get(), out, &written, reinterpret_cast<const unsigned char*>(input.data()),
                         static_cast<int>(input.size())) != 1 ||
        EVP_CipherFinal_ex(context.get(), out + written, &finalWritten) != 1)
        return std::nullopt;
    output.resize(static_cast<std::size_t>(written + finalWritten));
    return output;
}

std::string encryptOrEmpty(std::string_view input, std::string_view key, std::string_view iv) {
    return aes(input, key, iv, Direction::Encrypt).value_or(std::string());
}

std::string toHex(std::string_view bytes, bool upperCase) {
    const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += digits[byte >> 4];
        hex += digits[byte & 0x0F];
    }
    return hex;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> fromHex(std::string_view hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = hexValue(hex[i]);
        const int low = hexValue(hex[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
    }
    return bytes;
}

std::optional<std::string> fromBase64(std::string_view text) {
    if (text.empty() || text.size() % 4 != 0) return std::nullopt;
    std::string bytes(text.size() / 4 * 3, '\0');
    const int length =
        EVP_DecodeBlock(reinterpret_cast<unsigned char*>(bytes.data()),
                        reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
    if (length < 0) return std::nullopt;
    // EVP_DecodeBlock counts the padding's bytes as zeros.
    std::size_t padding = 0;
    for (std::size_t i = text.size(); i > 0 && text[i - 1] == '='; --i) ++padding;
    bytes.resize(static_cast<std::size_t>(length) - std::min<std::size_t>(padding, 2));
    return bytes;
}

// The bytes as one big number raised to the public exponent, without
// padding, as many bytes as the modulus has.
std::string rsaWithoutPadding(std::string_view message) {
    std::unique_ptr<BIO, decltype(&BIO_free)> pem(BIO_new_mem_buf(kWeapiPublicKey, -1), BIO_free);
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(PEM_read_bio_PUBKEY(pem.get(), nullptr, nullptr, nullptr),
                                                            EVP_PKEY_free);
    if (!key) return {};
    const auto modulusBytes = static_cast<std::size_t>(EVP_PKEY_get_size(key.get()));
    if (message.size() > modulusBytes) return {};
    std::string block(modulusBytes - message.size(), '\0');
    block.append(message);

    std::unique_ptr<EVP_PKEY_CTX, decltype(&EVP_PKEY_CTX_free)> context(EVP_PKEY_CTX_new(key.get(), nullptr),
                                                                        EVP_PKEY_CTX_free);
    if (!context || EVP_PKEY_encrypt_init(context.get()) != 1 ||
        EVP_PKEY_CTX_set_rsa_padding(context.get(), RSA_NO_PADDING) != 1)
        return {};
    std::string output(modulusBytes, '\0');
    std::size_t outputSize = output.size();
    if (EVP_PKEY_encrypt(context.get(), reinterpret_cast<unsigned char*>(output.data()), &outputSize,
                         reinterpret_cast<const unsigned char*>(block.data()), block.size()) != 1)
        return {};
    output.resize(outputSize);
    return output;
}

std::string eapiDigest(std::string_view uri, std::string_view json) {
    std::string message = "nobody";
    message.append(uri).append("use").append(json).append("md5forencrypt");
    return ServiceCipher::md5Hex(message);
}

}  // namespace

namespace ServiceCipher {

WeapiForm weapi(std::string_view json, std::string_view secretKey) {
    const std::string inner = base64Encode(encryptOrEmpty(json, kWeapiPresetKey, kWeapiIv));
    return {base64Encode(encryptOrEmpty(inner, secretKey, kWeapiIv)), weapiEncryptedKey(secretKey)};
}

std::string weapiEncryptedKey(std::string_view secretKey) {
    std::string reversed(secretKey.rbegin(), secretKey.rend());
    return toHex(rsaWithoutPadding(reversed), /*upperCase=*/false);
}

std::string weapiSecretKeyFrom(std::string_view randomBytes) {
    std::string key;
    for (const char c : randomBytes.substr(0, 16)) key += kBase62[static_cast<unsigned char>(c) % kBase62.size()];
    return key;
}

std::optional<std::string> openWeapi(std::string_view params, std::string_view secretKey) {
    const std::optional<std::string> outer = fromBase64(params);
    if (!outer) return std::nullopt;
    const std::optional<std::string> innerText = aes(*outer, secretKey, kWeapiIv, Direction::Decrypt);
    if (!innerText) return std::nullopt;
    const std::optional<std::string> inner = fromBase64(*innerText);
    if (!inner) return std::nullopt;
    return aes(*inner, kWeapiPresetKey, kWeapiIv, Direction::Decrypt);
}

std::string eapi(std::string_view uri, std::string_view json) {
    std::string data(uri);
    data.append(kEapiSeparator).append(json).append(kEapiSeparator).append(eapiDigest(uri, json));
    return toHex(encryptOrEmpty(data, kEapiKey, {}), /*upperCase=*/true);
}

std::optional<EapiMessage> openEapi(std::string_view params) {
    const std::optional<std::string> sealed = fromHex(params);
    if (!sealed) return std::nullopt;
    const std::optional<std::string> data = aes(*sealed, kEapiKey, {}, Direction::Decrypt);
    if (!data) return std::nullopt;
    const std::size_t first = data->find(kEapiSeparator);
    const std::size_t last = data->rfind(kEapiSeparator);
    if (first == std::string::npos || last == first) return std::nullopt;
    EapiMessage message{data->substr(0, first),
                        data->substr(first + kEapiSeparator.size(), last - first - kEapiSeparator.size())};
    if (data->substr(last + kEapiSeparator.size()) != eapiDigest(message.uri, message.json)) return std::nullopt;
    return message;
}

std::string linuxapi(std::string_view json) {
    return toHex(encryptOrEmpty(json, kLinuxapiKey, {}), /*upperCase=*/true);
}

std::optional<std::string> openLinuxapi(std::string_view eparams) {
    const std::optional<std::string> sealed = fromHex(eparams);
    if (!sealed) return std::nullopt;
    return aes(*sealed, kLinuxapiKey, {}, Direction::Decrypt);
}

std::string md5(std::string_view bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr) != 1) return {};
    return std::string(reinterpret_cast<const char*>(digest), length);
}

std::string md5Hex(std::string_view bytes) { return toHex(md5(bytes), /*upperCase=*/false); }

}  // namespace ServiceCipher
