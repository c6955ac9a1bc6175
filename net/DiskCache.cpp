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
    if (folder_.empty()) return std::nullopt;
    const std::string path = pathOf(key);
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty()) return std::nullopt;
    // A use moves the entry to the back of the trimming order.
    std::error_code ignored;
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now(), ignored);
    return bytes.toStdString();
}

void DiskCache::write(const std::string& key, const std::string& bytes) {
    if (folder_.empty() || bytes.empty()) return;
    const QString path = QString::fromStdString(pathOf(key));
    const std::int64_t replaced = QFileInfo(path).exists() ? QFileInfo(path).size() : 0;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(bytes.data(), qint64(bytes.size()));
    if (!file.commit()) return;

    const std::lock_guard lock(mutex_);
    if (counted_) usedBytes_ += std::int64_t(bytes.size()) - replaced;
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
    std::sort(byAge.begin(), byAge.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return a.lastModified() < b.lastModified();
    });
    const auto target = std::int64_t(double(maxBytes_) * kTrimTarget);
    for (const QFileInfo& entry : byAge) {
        if (usedBytes_ <= target) break;
        if (QFile::remove(entry.filePath())) usedBytes_ -= entry.size();
    }
}
