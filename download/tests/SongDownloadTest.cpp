// Song downloads against the companion server and against servers that
// misbehave: the saved file's name, audio and tags, what a failure or a quit
// leaves behind, and the one-at-a-time download state with its timer.
#include "download/SongDownloader.h"

#include "api/CloudApiClient.h"
#include "audio/PlayedAudioCache.h"
#include "audio/SourceRecording.h"
#include "base/BackgroundTask.h"

#include "DemoCompanion.h"
#include "RecordingServer.h"
#include "ScriptedSocketServer.h"
#include "TempDir.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kDownloadTimeoutMs = 30000;

// Demo songs whose streams are FLAC and MP3.
const DownloadRequest kFlacSong{"1900001005", "林夏", "城市之光"};   // album 城市之光
const DownloadRequest kMp3Song{"1900001002", "林夏", "风吹过的街"};  // album 夏日来信

// What FFmpeg reads back from an audio file.
struct AudioFile {
    std::vector<std::string> audioPackets;
    std::map<std::string, std::string> tags;  // lower-case keys
    std::string picture;                      // the attached picture's bytes
};

AudioFile readAudioFile(const std::string& path) {
    AudioFile file;
    AVFormatContext* context = nullptr;
    if (avformat_open_input(&context, ("file:" + path).c_str(), nullptr, nullptr) < 0) return file;
    avformat_find_stream_info(context, nullptr);
    for (const AVDictionaryEntry* tag = nullptr;
         (tag = av_dict_get(context->metadata, "", tag, AV_DICT_IGNORE_SUFFIX));) {
        std::string key = tag->key;
        for (char& c : key) c = char(std::tolower(static_cast<unsigned char>(c)));
        file.tags[key] = tag->value;
    }
    const int audio = av_find_best_stream(context, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* stream = context->streams[i];
        if (stream->disposition & AV_DISPOSITION_ATTACHED_PIC)
            file.picture.assign(reinterpret_cast<const char*>(stream->attached_pic.data),
                                size_t(stream->attached_pic.size));
    }
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(context, packet) >= 0) {
        if (packet->stream_index == audio)
            file.audioPackets.emplace_back(reinterpret_cast<const char*>(packet->data), size_t(packet->size));
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&context);
    return file;
}

std::string fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The bytes behind a URL, as served.
std::string servedBytes(const std::string& url) {
    std::string bytes;
    HttpClient::download(url, {[&](std::string_view chunk) {
                                   bytes.append(chunk);
                                   return true;
                               },
                               {}});
    return bytes;
}

class SongDownloadTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { DemoCompanion::start(); }
    static void TearDownTestSuite() { DemoCompanion::stop(); }

    // Everything in the download folder, hidden files included.
    std::set<std::string> savedFiles() const {
        std::set<std::string> names;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error)) names.insert(entry.path().filename().string());
        return names;
    }

    DownloadResult download(const DownloadRequest& song, const CloudApiClient& client) {
        percentage = 0;
        return downloadSong(client, song, folder, percentage);
    }

    // A service whose song URL answer names `streamUrl` (null when empty);
    // everything else comes from the companion.
    CloudApiClient serviceNaming(const std::string& streamUrl) {
        const std::string url = streamUrl.empty() ? "null" : "\"" + streamUrl + "\"";
        maker.setHandler([url](const RecordedRequest&) {
            return CannedReply{200, R"({"code":200,"data":[{"id":1,"url":)" + url + "}]}", "application/json", {}};
        });
        ServiceHosts hosts = ServiceHosts::allAt(DemoCompanion::origin());
        hosts.makerOrigin = maker.url("");
        return CloudApiClient(hosts);
    }

    TempDir documents;
    const std::string folder = documents.file("downnload/");
    const CloudApiClient api{ServiceHosts::allAt(DemoCompanion::origin())};
    RecordingServer maker;
    std::atomic<int> percentage{0};
};

TEST_F(SongDownloadTest, FlacAndMp3SongsAreSavedWithTheirAudioAndTags) {
    struct Case {
        DownloadRequest song;
        std::string name, album, magic;
    };
    const Case cases[] = {
        {kFlacSong, "林夏-城市之光.flac", "城市之光", "fLaC"},
        {kMp3Song, "林夏-风吹过的街.mp3", "夏日来信", "ID3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DownloadResult result = download(c.song, api);
        ASSERT_TRUE(result.complete);
        EXPECT_EQ(result.filePath, (fs::path(folder) / c.name).string());
        EXPECT_EQ(percentage.load(), 100);
        const std::set<std::string> saved = savedFiles();
        EXPECT_TRUE(saved.contains(c.name));
        EXPECT_TRUE(std::none_of(saved.begin(), saved.end(), [](const std::string& n) { return n.starts_with("."); }))
            << "no scratch file is left";
        EXPECT_EQ(fileBytes(result.filePath).substr(0, c.magic.size()), c.magic);

        const AudioFile tagged = readAudioFile(result.filePath);
        EXPECT_EQ(tagged.tags.at("title"), c.song.title);
        EXPECT_EQ(tagged.tags.at("artist"), c.song.artist);
        EXPECT_EQ(tagged.tags.at("album"), c.album);
        EXPECT_EQ(tagged.picture.substr(0, 3), "\xFF\xD8\xFF") << "the album cover, as the service sent it";

        const std::string served = documents.file("served");
        std::ofstream(served, std::ios::binary) << servedBytes(api.fetchSongUrl(c.song.songId));
        const AudioFile original = readAudioFile(served);
        ASSERT_FALSE(original.audioPackets.empty());
        EXPECT_TRUE(tagged.audioPackets == original.audioPackets) << "the audio is copied, not re-encoded";
    }
}

TEST_F(SongDownloadTest, ASongKeptWhenPlayedIsCopiedInsteadOfFetched) {
    PlayedAudioCache played(documents.file("played"), PlayedAudioCache::kDefaultMaxBytes);
    const std::string bytes = servedBytes(api.fetchSongUrl(kMp3Song.songId));
    {
        const auto recording = played.record(played.keyOf(kMp3Song.songId));
        recording->setSize(int64_t(bytes.size()));
        recording->write(0, reinterpret_cast<const uint8_t*>(bytes.data()), int64_t(bytes.size()));
        ASSERT_TRUE(recording->complete());
    }
    // The song's address now leads to a server that fails every request.
    RecordingServer audio;
    audio.setHandler([](const RecordedRequest&) { return CannedReply{500, "server error", "text/html", {}}; });
    const CloudApiClient client = serviceNaming(audio.url("/song.mp3"));

    const DownloadResult result = downloadSong(client, kMp3Song, folder, percentage, &played);
    ASSERT_TRUE(result.complete);
    EXPECT_EQ(percentage.load(), 100);
    EXPECT_TRUE(audio.requests().empty()) << "nothing was fetched";
    const AudioFile saved = readAudioFile(result.filePath);
    EXPECT_EQ(saved.tags.at("title"), kMp3Song.title);
    const std::string kept = documents.file("kept.mp3");
    std::ofstream(kept, std::ios::binary) << bytes;
    EXPECT_TRUE(saved.audioPackets == readAudioFile(kept).audioPackets);

    // Kept in another quality than the one asked for now: fetched (and here failing).
    played.setQuality("lossless");
    fs::remove(result.filePath);
    EXPECT_FALSE(downloadSong(client, kMp3Song, folder, percentage, &played).complete);
    EXPECT_EQ(audio.requests().size(), 1u);
}

TEST_F(SongDownloadTest, AFailedDownloadLeavesNothingBehind) {
    RecordingServer audio;
    audio.setHandler([](const RecordedRequest&) { return CannedReply{500, "server error", "text/html", {}}; });
    ScriptedSocketServer cut({{"HTTP/1.1 200 OK\r\nContent-Length: 200000\r\n\r\n" + std::string(5000, 'x'), 50ms}});
    struct Case {
        const char* name;
        std::string streamUrl;  // empty: the service names none
    };
    const Case cases[] = {
        {"HTTP error", audio.url("/song.mp3")},
        {"cut transfer", cut.url("/song.flac")},
        {"null URL", ""},
        {"not a web address", "file:///etc/passwd"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(download(kMp3Song, serviceNaming(c.streamUrl)).complete);
        EXPECT_EQ(savedFiles(), std::set<std::string>{});
    }
    EXPECT_FALSE(download({DemoSongs::kNoStream, "林夏", "无人知晓"}, api).complete);
    EXPECT_EQ(savedFiles(), std::set<std::string>{});
}

TEST_F(SongDownloadTest, ArtistAndTitleCannotLeadOutOfTheFolder) {
    const DownloadResult result = download({kMp3Song.songId, "AC/DC", "../x"}, api);
    ASSERT_TRUE(result.complete);
    EXPECT_EQ(savedFiles(), std::set<std::string>{"AC_DC-.._x.mp3"});
    EXPECT_EQ(fs::path(result.filePath).parent_path(), fs::path(folder).parent_path());
    std::set<std::string> besideTheFolder;
    for (const auto& entry : fs::directory_iterator(documents.path()))
        besideTheFolder.insert(entry.path().filename().string());
    EXPECT_EQ(besideTheFolder, std::set<std::string>{"downnload"});
}

TEST_F(SongDownloadTest, AQuitMidTransferLeavesNoSongUnderItsName) {
    // Half of the body, then silence until the server goes.
    ScriptedSocketServer stalled({{"HTTP/1.1 200 OK\r\nContent-Length: 20000\r\n\r\n" + std::string(10000, 'x')}},
                                 true);
    const CloudApiClient client = serviceNaming(stalled.url("/song.flac"));
    auto result = std::make_shared<DownloadResult>();
    {
        TaskOwner program;
        program.start([&, result] { *result = downloadSong(client, kFlacSong, folder, percentage); });
        ASSERT_TRUE(QTest::qWaitFor([&] { return percentage.load() == 50; }, kDownloadTimeoutMs));
        EXPECT_FALSE(savedFiles().contains("林夏-城市之光.flac")) << "half a song never has the song's name";
    }  // the program ends: its tasks are asked to stop and joined
    EXPECT_FALSE(result->complete);
    EXPECT_EQ(savedFiles(), std::set<std::string>{});
}

TEST_F(SongDownloadTest, OneDownloadRunsAtATimeWithItsProgressTimer) {
    SongDownloader downloader(api, folder);
    QSignalSpy completed(&downloader, &SongDownloader::completed);
    EXPECT_EQ(downloader.start({"", "A", "B"}), SongDownloader::Start::NoSong);
    EXPECT_FALSE(downloader.isBusy());

    ASSERT_EQ(downloader.start(kFlacSong), SongDownloader::Start::Started);
    EXPECT_TRUE(downloader.isBusy());
    EXPECT_EQ(downloader.progressTimer().objectName(), "时钟_下载进度回调");
    EXPECT_TRUE(downloader.progressTimer().isActive());
    EXPECT_EQ(downloader.progressTimer().interval(), SongDownloader::kProgressTickMs);
    EXPECT_EQ(downloader.start(kMp3Song), SongDownloader::Start::Busy);
    EXPECT_EQ(downloader.song().title, kFlacSong.title) << "the running download keeps its song";

    ASSERT_TRUE(completed.wait(kDownloadTimeoutMs));
    EXPECT_EQ(completed.at(0).at(0).toString().toStdString(), (fs::path(folder) / "林夏-城市之光.flac").string());
    EXPECT_FALSE(downloader.isBusy());
    EXPECT_FALSE(downloader.progressTimer().isActive());
    EXPECT_EQ(downloader.percentage(), 100);
    EXPECT_EQ(savedFiles(), std::set<std::string>{"林夏-城市之光.flac"});
}

TEST_F(SongDownloadTest, TheTimerTellsTheProgressAndAFailureEndsTheDownload) {
    // 42 of 100 bytes, a pause longer than a tick, then the connection breaks.
    ScriptedSocketServer slow({{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n" + std::string(42, 'x'), 2500ms}});
    const CloudApiClient client = serviceNaming(slow.url("/song.mp3"));
    SongDownloader downloader(client, folder);
    QSignalSpy progress(&downloader, &SongDownloader::progressChanged);
    QSignalSpy failed(&downloader, &SongDownloader::failed);
    ASSERT_EQ(downloader.start({"1", "A", "B"}), SongDownloader::Start::Started);

    ASSERT_TRUE(QTest::qWaitFor([&] { return !progress.isEmpty() && progress.last().at(0).toInt() == 42; }, 5000));
    EXPECT_TRUE(downloader.isBusy());
    ASSERT_TRUE(failed.wait(kDownloadTimeoutMs));
    EXPECT_EQ(failed.at(0).at(0).toString(), "A");
    EXPECT_EQ(failed.at(0).at(1).toString(), "B");
    EXPECT_FALSE(downloader.isBusy());
    EXPECT_FALSE(downloader.progressTimer().isActive());
    EXPECT_EQ(savedFiles(), std::set<std::string>{});
}

}  // namespace
