#include "desktop/CoverFile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

// The picture type by its first bytes, for the file's extension.
QString extensionOf(const QByteArray& bytes) {
    if (bytes.startsWith("\x89PNG")) return "png";
    if (bytes.startsWith("GIF8")) return "gif";
    if (bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP") return "webp";
    return "jpg";
}

}  // namespace

QUrl CoverFile::store(const QString& songId, const QByteArray& bytes) {
    remove();
    // The id becomes part of a file name: only plain characters.
    static const QRegularExpression unsafe("[^A-Za-z0-9_-]");
    if (folder_.isEmpty() || bytes.isEmpty() || songId.isEmpty() || songId.contains(unsafe)) return {};
    if (!QDir().mkpath(folder_)) return {};
    const QString path = QDir(folder_).filePath("cover-" + songId + "." + extensionOf(bytes));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) return {};
    songId_ = songId;
    path_ = path;
    url_ = QUrl::fromLocalFile(path);
    return url_;
}

void CoverFile::remove() {
    if (!path_.isEmpty()) QFile::remove(path_);
    songId_.clear();
    path_.clear();
    url_.clear();
}
