#include "server/account/SessionCookies.h"

#include <ctime>
#include <fstream>
#include <random>
#include <sstream>

#include "server/Md5.h"

namespace {

std::string httpDate(std::int64_t unixSeconds) {
    const std::time_t time = static_cast<std::time_t>(unixSeconds);
    std::tm utc{};
    gmtime_r(&time, &utc);
    char text[40];
    std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &utc);
    return text;
}

std::string cookiePart(const std::string& name, const std::string& value, std::int64_t maxAge, std::int64_t now,
                       const std::string& path) {
    return name + "=" + value + "; Max-Age=" + std::to_string(maxAge) + "; Expires=" + httpDate(now + maxAge) +
           "; Path=" + path + ";";
}

std::string randomHex(std::size_t digits) {
    std::random_device device;
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    while (hex.size() < digits) hex.push_back(kDigits[device() % 16]);
    return hex;
}

std::string toHex(Id value) {
    std::ostringstream out;
    out << std::hex << value;
    return out.str();
}

constexpr const char* kTokenPrefix = "00";
constexpr std::size_t kSignatureDigits = 32;

}  // namespace

SessionCookies::SessionCookies(std::string secret) : secret_(std::move(secret)) {}

std::string SessionCookies::token(Id userId) const {
    return kTokenPrefix + md5Hex(secret_ + ":" + std::to_string(userId)) + toHex(userId);
}

std::string SessionCookies::issue(Id userId, std::int64_t now) const {
    const std::string musicU = token(userId);
    const std::string stamp = std::to_string(now * 1000);
    return cookiePart("MUSIC_R_T", stamp, 2147483647, now, "/openapi/clientlog") + ";" +
           cookiePart("MUSIC_A_T", stamp, 2147483647, now, "/eapi/clientlog") + ";" +
           cookiePart("MUSIC_U", musicU, 15552000, now, "/") + ";" +
           cookiePart("__csrf", md5Hex(musicU), 1296010, now, "/") + ";" +
           cookiePart("NMTID", md5Hex(stamp + musicU).substr(0, 24), 315360000, now, "/");
}

std::optional<Id> SessionCookies::userOf(const std::string& cookieText) const {
    const std::string marker = "MUSIC_U=";
    const std::size_t start = cookieText.find(marker);
    if (start == std::string::npos) return std::nullopt;
    const std::size_t valueStart = start + marker.size();
    const std::size_t end = cookieText.find(';', valueStart);
    const std::string value =
        cookieText.substr(valueStart, end == std::string::npos ? std::string::npos : end - valueStart);

    const std::size_t idStart = std::string(kTokenPrefix).size() + kSignatureDigits;
    if (value.size() <= idStart || value.size() > idStart + 16) return std::nullopt;
    Id userId = 0;
    std::istringstream in(value.substr(idStart));
    if (!(in >> std::hex >> userId) || !in.eof()) return std::nullopt;
    if (value != token(userId)) return std::nullopt;
    return userId;
}

std::string SessionCookies::loadOrCreateSecret(const std::filesystem::path& file) {
    auto readSecret = [&file]() -> std::optional<std::string> {
        std::string secret;
        std::ifstream in(file);
        if (in && std::getline(in, secret) && secret.size() >= 16) return secret;
        return std::nullopt;
    };
    if (auto secret = readSecret()) return *secret;

    const std::string fresh = randomHex(32);
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    // Written under another name and renamed, so a second server starting at
    // the same time reads either no file or the whole secret.
    const std::filesystem::path scratch = file.string() + ".part-" + randomHex(8);
    if (std::ofstream out(scratch); out << fresh << "\n") {
        out.close();
        if (!std::filesystem::exists(file, error)) std::filesystem::rename(scratch, file, error);
    }
    std::filesystem::remove(scratch, error);
    // Whoever won that race, the file now holds the secret to use.
    return readSecret().value_or(fresh);
}
