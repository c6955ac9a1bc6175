#pragma once
// Keeps the cover of the song playing as a file, so that media controls in
// other processes can show it by its address. Only the newest cover is
// kept: writing one removes the one before.
#include <QByteArray>
#include <QString>
#include <QUrl>

class CoverFile {
public:
    // Covers go into `folder` (created when needed); an empty folder keeps none.
    explicit CoverFile(QString folder) : folder_(std::move(folder)) {}
    ~CoverFile() { remove(); }
    CoverFile(const CoverFile&) = delete;
    CoverFile& operator=(const CoverFile&) = delete;

    // Saves `bytes` as the cover of `songId`; empty bytes, or a failed write,
    // leave no cover. Returns the file's address, or an empty one.
    QUrl store(const QString& songId, const QByteArray& bytes);
    // The cover saved last, for `songId` only.
    QUrl urlFor(const QString& songId) const { return songId == songId_ ? url_ : QUrl(); }
    void remove();

private:
    QString folder_;
    QString songId_;
    QString path_;
    QUrl url_;
};
