// Songs and MVs are real files served with their length and byte ranges, and
// the web player page plays the stream URL it is given.
#include "ServerTestSupport.h"
#include "TempDir.h"
#include "server/Md5.h"
#include "server/media/MediaLibrary.h"

#include <stop_token>

class MediaTest : public ServerTest {
protected:
    // The stream named by the song-URL answer: its path and what the answer says.
    struct Stream {
        std::string path;
        Json member;
    };
    Stream songStream(const std::string& query) {
        const Json member = getJson("/api/?type=apiSongUrlV1&" + query)["data"][0];
        const std::string url = member["url"];
        EXPECT_TRUE(url.starts_with(server->origin()));
        return {url.substr(server->origin().size()), member};
    }
};

TEST_F(MediaTest, SongFilesAreTheAnnouncedMp3AndFlac) {
    struct Case {
        std::string query;
        std::string magic;  // how the file starts
        std::string contentType;
    };
    const Case cases[] = {
        {"id=1900001001", "ID3", "audio/mpeg"},
        {"id=1900001005", "fLaC", "audio/flac"},
        {"id=1900001001&level=lossless", "fLaC", "audio/flac"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        const Stream stream = songStream(c.query);
        auto file = get(stream.path);
        ASSERT_TRUE(file);
        EXPECT_EQ(file->status, 200);
        EXPECT_EQ(file->get_header_value("Content-Type"), c.contentType);
        EXPECT_EQ(file->get_header_value("Content-Length"), std::to_string(file->body.size()));
        EXPECT_EQ(file->get_header_value("Accept-Ranges"), "bytes");
        EXPECT_EQ(file->body.size(), stream.member["size"].get<std::size_t>());
        EXPECT_EQ(md5Hex(file->body), stream.member["md5"]);
        EXPECT_EQ(file->body.compare(0, c.magic.size(), c.magic), 0);
        // The clip lasts as long as the song says: FLAC's STREAMINFO holds the sample count.
        if (c.magic == "fLaC") {
            const auto byte = [&](std::size_t at) {
                return static_cast<std::uint64_t>(static_cast<unsigned char>(file->body[at]));
            };
            const std::uint64_t samples =
                ((byte(21) & 0x0F) << 32) | (byte(22) << 24) | (byte(23) << 16) | (byte(24) << 8) | byte(25);
            EXPECT_EQ(samples * 1000 / 44100, stream.member["time"].get<std::uint64_t>());
        }
    }
}

TEST_F(MediaTest, ByteRangesAnswerPartialContent) {
    const Stream stream = songStream("id=1900001005");
    auto whole = get(stream.path);
    ASSERT_TRUE(whole);
    const std::size_t size = whole->body.size();

    struct Case {
        std::string range;
        std::size_t first;
        std::size_t length;
    };
    const Case cases[] = {
        {"bytes=0-99", 0, 100},
        {"bytes=1000-1999", 1000, 1000},
        {"bytes=-10", size - 10, 10},
        {"bytes=" + std::to_string(size - 5) + "-", size - 5, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.range);
        auto part = get(stream.path, {{"Range", c.range}});
        ASSERT_TRUE(part);
        EXPECT_EQ(part->status, 206);
        EXPECT_EQ(part->body, whole->body.substr(c.first, c.length));
        EXPECT_EQ(part->get_header_value("Content-Length"), std::to_string(c.length));
        EXPECT_EQ(part->get_header_value("Content-Range"), "bytes " + std::to_string(c.first) + "-" +
                                                               std::to_string(c.first + c.length - 1) + "/" +
                                                               std::to_string(size));
    }
    for (const std::string& range : {"bytes=" + std::to_string(size) + "-",
                                     "bytes=" + std::to_string(size + 10) + "-" + std::to_string(size + 20)}) {
        SCOPED_TRACE(range);
        auto beyond = get(stream.path, {{"Range", range}});
        ASSERT_TRUE(beyond);
        EXPECT_EQ(beyond->status, 416);
        EXPECT_EQ(beyond->get_header_value("Content-Range"), "bytes */" + std::to_string(size));
        EXPECT_EQ(beyond->body, "");
    }
}

TEST_F(MediaTest, SongsWithoutAStreamHaveNoFile) {
    for (const std::string path : {"/media/audio/1900001012-higher.mp3", "/media/audio/5-higher.mp3"}) {
        auto result = get(path);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, 404) << path;
    }
}

TEST_F(MediaTest, MvUrlPlaysAsMp4DirectlyAndThroughThePlayerPage) {
    const std::string url = getJson("/mv/url?id=10900004&timestamp=1")["data"]["url"];
    ASSERT_NE(url.find("&wsTime="), std::string::npos);
    auto video = get(url.substr(server->origin().size()));
    ASSERT_TRUE(video);
    EXPECT_EQ(video->status, 200);
    EXPECT_EQ(video->get_header_value("Content-Type"), "video/mp4");
    EXPECT_EQ(video->body.compare(4, 4, "ftyp"), 0);

    // The play bar's form: every "&wsTime" escaped, nothing else.
    std::string wrapped = url;
    wrapped.replace(wrapped.find("&wsTime"), 7, "%26wsTime");
    auto page = get("/player/?url=" + wrapped);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_EQ(page->get_header_value("Content-Type"), "text/html; charset=utf-8");
    std::string escaped = url;
    for (std::size_t at = 0; (at = escaped.find('&', at)) != std::string::npos; at += 5)
        escaped.replace(at, 1, "&amp;");
    EXPECT_NE(page->body.find("<video id=\"mv\" controls autoplay playsinline src=\"" + escaped + "\">"),
              std::string::npos)
        << page->body;
}

TEST_F(MediaTest, PlayerPageRefusesWhatIsNotAWebAddress) {
    for (const std::string url : {"javascript:alert(1)", "", "file:///etc/passwd"}) {
        auto page = get("/player/?url=" + url);
        ASSERT_TRUE(page);
        EXPECT_EQ(page->status, 400) << url;
        EXPECT_EQ(page->body.find("<video"), std::string::npos);
    }
    auto quoted = get("/player/?url=http://h/a%22onerror=%22x.mp4");
    ASSERT_TRUE(quoted);
    EXPECT_NE(quoted->body.find("src=\"http://h/a&quot;onerror=&quot;x.mp4\""), std::string::npos) << quoted->body;
}

// Stopping the server stops the background preparation before its next
// file, however many files are left to make.
TEST(MediaPreparationTest, AStoppedPreparationMakesNothingMore) {
    TempDir scratch;
    const std::filesystem::path folder = scratch.path() / "media";
    MediaLibrary library(folder);
    std::stop_source stop;
    stop.request_stop();
    EXPECT_FALSE(library.prepareAll(stop.get_token()));
    EXPECT_FALSE(std::filesystem::exists(folder)) << "no file was made";
}
