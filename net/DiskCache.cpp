#include "net/DiskCache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <filesystem>

namespace {

// Entries older than this share of the bound are removed in one go, so a
// cache at its bound does not trim on every write.
constexpr double kTrimTarget = 0.9;

QString entryFilter() { return QStringLiteral("*.bin"); }

QFileInfoList entries(const QString& folder) {
    return QDir(folder).entryInfoList({entryFilter()}, QDir::Files | QDir::NoDotAndDotDot);
}

}  // namespace

DiskCache::DiskCache(std::string folder, std::int64_t maxBytes) : folder_(std::move(folder)), maxBytes_(maxBytes) {
    if (!folder_.empty()) QDir().mkpath(QString::fromStdString(folder_));
}

std::string DiskCache::pathOf(const std::string& key) const {
    const QByteArray digest =
        QCryptographicHash::hash(QByteArray::fromStdString(key), QCryptographicHash::Sha1).toHex();
    return folder_ + "/" + digest.toStdString() + ".bin";
}

std::optional<std::string> DiskCache::read(const std::string& key) const {
    const std::optional<std::string> path = entryPath(key);
    if (!path) return std::nullopt;
    QFile file(QString::fromStdString(*path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty()) return std::nullopt;
    return bytes.toStdString();
}

std::optional<std::string> DiskCache::entryPath(const std::string& key) const {
    if (folder_.empty()) return std::nullopt;
    const std::string path = pathOf(key);
    // A use moves the entry to the back of the trimming order.
    std::error_code missing;
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now(), missing);
    if (missing) return std::nullopt;
    return path;
}

bool DiskCache::adopt(const std::string& key, const std::string& path) {
    if (folder_.empty()) return false;
    const std::string entry = pathOf(key);
    std::error_code error;
    const auto size = std::int64_t(std::filesystem::file_size(path, error));
    if (error) return false;
    const auto replacedSize = std::filesystem::file_size(entry, error);
    const std::int64_t replaced = error ? 0 : std::int64_t(replacedSize);
    std::filesystem::rename(path, entry, error);
    if (error) return false;
    // The rename made the file's time its last use.
    std::filesystem::last_write_time(entry, std::filesystem::file_time_type::clock::now(), error);
    accountAndTrim(replaced, size);
    return true;
}

void DiskCache::setMaxBytes(std::int64_t maxBytes) {
    const std::lock_guard lock(mutex_);
    maxBytes_ = maxBytes;
}

std::int64_t DiskCache::maxBytes() const {
    const std::lock_guard lock(mutex_);
    return maxBytes_;
}

void DiskCache::write(const std::string& key, const std::string& bytes) {
    if (folder_.empty() || bytes.empty()) return;
    const QString path = QString::fromStdString(pathOf(key));
    const std::int64_t replaced = QFileInfo(path).exists() ? QFileInfo(path).size() : 0;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(bytes.data(), qint64(bytes.size()));
    if (!file.commit()) return;
    accountAndTrim(replaced, std::int64_t(bytes.size()));
}

void DiskCache::accountAndTrim(std::int64_t replaced, std::int64_t added) {
    const std::lock_guard lock(mutex_);
    if (counted_) usedBytes_ += added - replaced;
    trimLocked();
}

void DiskCache::trimLocked() {
    const QString folder = QString::fromStdString(folder_);
    if (!counted_) {
        usedBytes_ = 0;
        for (const QFileInfo& entry : entries(folder)) usedBytes_ += entry.size();
        counted_ = true;
    }
    if (usedBytes_ <= maxBytes_) return;
    QFileInfoList byAge = entries(folder);
    std::sort(byAge.begin(), byAge.end(),
              [](const QFileInfo& a, const QFileInfo& b) { return a.lastModified() < b.lastModified(); });
    const auto target = std::int64_t(double(maxBytes_) * kTrimTarget);
    for (const QFileInfo& entry : byAge) {
        if (usedBytes_ <= target) break;
        if (QFile::remove(entry.filePath())) usedBytes_ -= entry.size();
    }
}
