#include "local/MusicFolders.h"

#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

namespace {
constexpr const char* kSection = "Local";
constexpr const char* kKey = "Folders";
// Never a value the file holds: tells a missing key from an empty one.
constexpr const char* kMissing = "\x01";
}  // namespace

std::vector<std::string> readMusicFolders(const AppSettings& settings) {
    const std::string stored = settings.read(kSection, kKey, kMissing);
    if (stored == kMissing) {
        const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
        if (music.isEmpty()) return {};
        return {music.toStdString()};
    }
    std::vector<std::string> folders;
    for (const QString& url : QString::fromStdString(stored).split(' ', Qt::SkipEmptyParts)) {
        const QUrl folder = QUrl::fromEncoded(url.toUtf8());
        if (folder.isLocalFile()) folders.push_back(folder.toLocalFile().toStdString());
    }
    return folders;
}

bool writeMusicFolders(const AppSettings& settings, const std::vector<std::string>& folders) {
    QStringList urls;
    for (const std::string& folder : folders)
        urls << QString::fromUtf8(QUrl::fromLocalFile(QString::fromStdString(folder)).toEncoded());
    return settings.write(kSection, kKey, urls.join(' ').toStdString());
}
