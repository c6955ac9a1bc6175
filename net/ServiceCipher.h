#pragma once
// The three request wrappings the music service's own web API accepts, and
// their unwrapping for a local stand-in of the service:
// - weapi: the JSON parameters AES-128-CBC encrypted twice (a fixed key,
//   then a 16-character secret key), Base64 both times; the secret key,
//   reversed, goes along RSA-encrypted (no padding) under the service's key;
// - eapi: "<uri>-36cd479b6b5-<json>-36cd479b6b5-<md5>" AES-128-ECB
//   encrypted under a fixed key, as upper-case hexadecimal;
// - linuxapi: {"method","url","params"} AES-128-ECB encrypted under another
//   fixed key, as upper-case hexadecimal.
// All work is done by OpenSSL's libcrypto. Stateless; safe on any thread.
#include <optional>
#include <string>
#include <string_view>

namespace ServiceCipher {

// The form values of a weapi request.
struct WeapiForm {
    std::string params;     // Base64
    std::string encSecKey;  // 256 lower-case hexadecimal digits
};

// `secretKey` is 16 characters (see weapiSecretKeyFrom).
WeapiForm weapi(std::string_view json, std::string_view secretKey);
// The encSecKey that goes with `secretKey`.
std::string weapiEncryptedKey(std::string_view secretKey);
// The 16-character secret key the bytes choose: each byte picks one of the
// 62 letters and digits. Takes the first 16 bytes; fewer give a shorter key.
std::string weapiSecretKeyFrom(std::string_view randomBytes);
// The JSON inside a weapi `params` value sealed with `secretKey`; nothing when
// it does not open with that key.
std::optional<std::string> openWeapi(std::string_view params, std::string_view secretKey);

// The eapi `params` value for a request to `uri` ("/api/...").
std::string eapi(std::string_view uri, std::string_view json);
struct EapiMessage {
    std::string uri;
    std::string json;
};
// The URI and JSON inside an eapi `params` value; nothing when it does not
// decrypt or its digest does not match.
std::optional<EapiMessage> openEapi(std::string_view params);

// The linuxapi `eparams` value of a JSON text.
std::string linuxapi(std::string_view json);
// The JSON inside a linuxapi `eparams` value; nothing when it does not decrypt.
std::optional<std::string> openLinuxapi(std::string_view eparams);

// The MD5 digest of the bytes: its 16 bytes, or 32 lower-case hexadecimal digits.
std::string md5(std::string_view bytes);
std::string md5Hex(std::string_view bytes);

}  // namespace ServiceCipher
