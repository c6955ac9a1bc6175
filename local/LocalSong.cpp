#include "local/LocalSong.h"

#include <QByteArray>
#include <QCryptographicHash>

namespace {
constexpr std::string_view kPrefix = "local_";
constexpr int kDigestHexChars = 20;
}  // namespace

std::string localSongId(std::string_view path) {
    const QByteArray digest =
        QCryptographicHash::hash(QByteArray(path.data(), qsizetype(path.size())), QCryptographicHash::Sha1);
    return std::string(kPrefix) + digest.toHex().left(kDigestHexChars).toStdString();
}

bool isLocalSongId(std::string_view songId) {
    if (!songId.starts_with(kPrefix) || songId.size() != kPrefix.size() + kDigestHexChars) return false;
    for (char c : songId.substr(kPrefix.size()))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}
