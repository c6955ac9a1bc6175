// The cover kept for the desktop's media controls: one file, the newest.
#include "desktop/CoverFile.h"

#include "TempDir.h"

#include <gtest/gtest.h>
#include <QFile>

namespace {

QByteArray readAll(const QUrl& url) {
    QFile file(url.toLocalFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(CoverFileTest, KeepsTheNewestCoverUnderItsTypesExtension) {
    TempDir folder;
    const QString covers = QString::fromStdString(folder.file("covers"));
    CoverFile cover(covers);
    const QByteArray png("\x89PNG\r\n\x1a\n-png-", 13);
    const QByteArray jpeg("\xff\xd8\xff-jpeg-", 9);

    const QUrl first = cover.store("1900001001", png);
    EXPECT_EQ(first.toLocalFile(), covers + "/cover-1900001001.png");
    EXPECT_EQ(readAll(first), png);
    EXPECT_EQ(cover.urlFor("1900001001"), first);
    EXPECT_TRUE(cover.urlFor("1900001002").isEmpty()) << "another song's cover is not this one";

    const QUrl second = cover.store("1900001002", jpeg);
    EXPECT_TRUE(second.toLocalFile().endsWith(".jpg"));
    EXPECT_EQ(readAll(second), jpeg);
    EXPECT_FALSE(QFile::exists(first.toLocalFile()));

    cover.remove();
    EXPECT_FALSE(QFile::exists(second.toLocalFile()));
}

TEST(CoverFileTest, StoresNothingItCannotNameOrHasNoBytesFor) {
    TempDir folder;
    struct Case {
        QString folder, songId;
        QByteArray bytes;
    };
    const QString covers = QString::fromStdString(folder.file("covers"));
    const Case cases[] = {
        {covers, "1900001001", {}},                // the cover failed to load
        {covers, "../../escape", "\xff\xd8\xff"},  // an id that is not a plain name
        {covers, "", "\xff\xd8\xff"},
        {"", "1900001001", "\xff\xd8\xff"},  // no folder to keep covers in
    };
    for (const Case& c : cases) {
        CoverFile cover(c.folder);
        cover.store("1900001003", "\xff\xd8\xff");  // a cover before, which goes
        EXPECT_TRUE(cover.store(c.songId, c.bytes).isEmpty()) << c.songId.toStdString();
        EXPECT_TRUE(cover.urlFor(c.songId).isEmpty());
        EXPECT_FALSE(QFile::exists(covers + "/cover-1900001003.jpg"));
    }
}

}  // namespace
