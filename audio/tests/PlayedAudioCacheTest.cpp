// The cache of played audio: what a recording keeps and when, how the cache
// lets songs go, and streams that read through a recording (played again,
// sought back, cut short, abandoned).
#include "PlaybackFixture.h"
#include "TempDir.h"
#include "audio/PlayedAudioCache.h"
#include "audio/SourceRecording.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

namespace {

using namespace std::chrono_literals;

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

const uint8_t* bytesOf(const std::string& text) { return reinterpret_cast<const uint8_t*>(text.data()); }

// Records `bytes` whole under `key`.
void keep(const PlayedAudioCache& cache, const std::string& key, const std::string& bytes) {
    const auto recording = cache.record(key);
    recording->setSize(int64_t(bytes.size()));
    recording->write(0, bytesOf(bytes), int64_t(bytes.size()));
    ASSERT_TRUE(recording->complete());
}

TEST(SourceRecordingTest, KeepsTheSourceOnlyOnceEveryPieceIsIn) {
    TempDir dir;
    const PlayedAudioCache cache(dir.file("played"), PlayedAudioCache::kDefaultMaxBytes);
    const std::string source = "0123456789abcdefghij";
    const struct {
        const char* name;
        std::vector<std::pair<int, int>> pieces;  // offset, length, in the order they arrive
        bool sizeKnown;
        bool kept;
    } cases[] = {
        {"in order", {{0, 10}, {10, 10}}, true, true},
        {"the end first, as a probe reads it", {{15, 5}, {0, 8}, {8, 7}}, true, true},
        {"overlapping pieces", {{0, 12}, {5, 10}, {14, 6}}, true, true},
        {"a hole in the middle", {{0, 8}, {9, 11}}, true, false},
        {"the last byte missing", {{0, 19}}, true, false},
        {"no size: never known to be whole", {{0, 20}}, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string key = std::string("song/") + c.name;
        {
            const auto recording = cache.record(key);
            if (c.sizeKnown) recording->setSize(int64_t(source.size()));
            for (const auto& [offset, length] : c.pieces) recording->write(offset, bytesOf(source) + offset, length);
            EXPECT_EQ(recording->complete(), c.kept);
            // What was written reads back, whole or not.
            const auto& [offset, length] = c.pieces.front();
            EXPECT_GE(recording->keptFrom(offset), length);
            std::string back(size_t(length), '\0');
            ASSERT_TRUE(recording->read(offset, reinterpret_cast<uint8_t*>(back.data()), length));
            EXPECT_EQ(back, source.substr(size_t(offset), size_t(length)));
        }
        const auto found = cache.find(key);
        ASSERT_EQ(found.has_value(), c.kept);
        if (found) {
            EXPECT_EQ(TestAudio::readFile(*found), source);
        }
    }
    EXPECT_EQ(filesIn(dir.file("played")).size(), 3u) << "the kept entries only: no scratch file stays behind";
}

TEST(SourceRecordingTest, KnowsWhereKeptPiecesStartAndEnd) {
    TempDir dir;
    const PlayedAudioCache cache(dir.file("played"), PlayedAudioCache::kDefaultMaxBytes);
    const auto recording = cache.record("song/1");
    const std::string bytes(100, 'x');
    recording->setSize(1000);
    recording->write(100, bytesOf(bytes), 50);
    recording->write(300, bytesOf(bytes), 100);
    recording->write(150, bytesOf(bytes), 20);  // touches the first piece: one piece 100..170
    EXPECT_EQ(recording->keptFrom(0), 0);
    EXPECT_EQ(recording->keptFrom(100), 70);
    EXPECT_EQ(recording->keptFrom(169), 1);
    EXPECT_EQ(recording->keptFrom(170), 0);
    EXPECT_EQ(recording->keptFrom(350), 50);
    EXPECT_EQ(recording->nextKeptAfter(0), 100);
    EXPECT_EQ(recording->nextKeptAfter(170), 300);
    EXPECT_EQ(recording->nextKeptAfter(300), -1);
}

TEST(PlayedAudioCacheTest, KeysByQualityAndLetsTheSongsUsedLongestAgoGo) {
    TempDir dir;
    const std::string folder = dir.file("played");
    PlayedAudioCache cache(folder, 250);
    const std::string song(100, 's');
    keep(cache, cache.keyOf("1"), song);
    std::this_thread::sleep_for(20ms);  // file times must tell the entries apart
    keep(cache, cache.keyOf("2"), song);
    std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(cache.find(cache.keyOf("1")));  // now used more recently than "2"
    std::this_thread::sleep_for(20ms);
    keep(cache, cache.keyOf("3"), song);
    EXPECT_TRUE(cache.find(cache.keyOf("1")));
    EXPECT_FALSE(cache.find(cache.keyOf("2")));
    EXPECT_TRUE(cache.find(cache.keyOf("3")));

    cache.setQuality("lossless");
    EXPECT_FALSE(cache.find(cache.keyOf("1"))) << "another quality is another entry";
    cache.setQuality("exhigh");
    EXPECT_TRUE(cache.find(cache.keyOf("1")));

    // A smaller bound lets go at the next song kept.
    cache.setMaxBytes(150);
    std::this_thread::sleep_for(20ms);
    keep(cache, cache.keyOf("4"), song);
    EXPECT_EQ(filesIn(folder).size(), 1u);
    EXPECT_TRUE(cache.find(cache.keyOf("4")));
}

TEST(PlayedAudioCacheTest, AScratchFileLeftByACrashIsNeverASongAndGoesAtTheNextStart) {
    TempDir dir;
    const std::string folder = dir.file("played");
    std::filesystem::create_directories(folder);
    {
        PlayedAudioCache cache(folder, PlayedAudioCache::kDefaultMaxBytes);
        const auto recording = cache.record(cache.keyOf("1"));
        recording->setSize(10);
        recording->write(0, bytesOf("01234"), 5);
        // A crash: the scratch file stays, copied aside before the recording's end removes it.
        for (const std::string& name : filesIn(folder))
            std::filesystem::copy_file(folder + "/" + name, folder + "/.recording-crashed.part");
        EXPECT_FALSE(cache.find(cache.keyOf("1")));
    }
    ASSERT_EQ(filesIn(folder), std::vector<std::string>{".recording-crashed.part"});
    const PlayedAudioCache restarted(folder, PlayedAudioCache::kDefaultMaxBytes);
    EXPECT_TRUE(filesIn(folder).empty());
    EXPECT_FALSE(restarted.find(restarted.keyOf("1")));
}

class PlayedStreamTest : public PlaybackTest {
protected:
    // Plays `handle` on until its source is kept or its end is heard.
    bool playUntilKept(AudioEngine::Handle handle, const std::string& key) {
        return eventually([&] {
            if (cache.find(key)) return true;
            if (engine.isActive(handle) == StreamActivity::kStopped) return cache.find(key).has_value();
            output->advance(2048);
            return false;
        });
    }
    StreamSource recorded(const std::string& url, const std::string& key) {
        StreamSource source = StreamSource::fromUrl(url);
        source.playOnce = true;
        source.recording = cache.record(key);
        return source;
    }

    TempDir dir;
    const std::string folder = dir.file("played");
    PlayedAudioCache cache{folder, PlayedAudioCache::kDefaultMaxBytes};
};

TEST_F(PlayedStreamTest, ASongPlayedThroughIsKeptWholeAndPlaysAgainWithoutARequest) {
    const struct {
        const char* name;
        std::string file;
    } songs[] = {{"flac", flacTone()}, {"mp3", mp3Tone()}};
    for (const auto& song : songs) {
        SCOPED_TRACE(song.name);
        const std::string path = std::string("/") + song.name;
        const std::string bytes = TestAudio::readFile(song.file);
        const std::string key = cache.keyOf(song.name);
        const auto first = engine.createStream(recorded(server.serve(path, bytes), key));
        ASSERT_NE(first, 0u);
        ASSERT_TRUE(engine.play(first));
        ASSERT_TRUE(playUntilKept(first, key));
        EXPECT_EQ(TestAudio::readFile(*cache.find(key)), bytes) << "the file as the server sent it";
        const int requests = server.requestsFor(path);
        const int32_t length = engine.getLength(first);
        engine.freeStream(first);

        const auto again = engine.createStream(StreamSource::fromFile(*cache.find(key)));
        ASSERT_NE(again, 0u);
        EXPECT_EQ(engine.getLength(again), length);
        ASSERT_TRUE(engine.play(again));
        playFrames(frames(1));
        EXPECT_EQ(engine.getPosition(again), stereoBytes(1));
        engine.freeStream(again);
        EXPECT_EQ(server.requestsFor(path), requests);
    }
}

TEST_F(PlayedStreamTest, SeekingBackReadsWhatWasRecordedInsteadOfTheNetwork) {
    // Long enough that the way back is far beyond what FFmpeg buffers.
    const std::string tone = TestAudio::sine(10 * kBinHertz);
    const std::string bytes =
        TestAudio::readFile(TestAudio::make("tone10-8s.mp3", tone + "|" + tone, kRate, 8, "-c:a libmp3lame -b:a 192k"));
    // The server sends most of it, then waits: the song is still streaming.
    const std::string url = server.serveHeldBack("/held", bytes, bytes.size() * 4 / 5);
    const auto handle = engine.createStream(recorded(url, cache.keyOf("held")));
    ASSERT_NE(handle, 0u);
    ASSERT_TRUE(engine.play(handle));
    for (int second = 0; second < 5; ++second) playFrames(frames(1));
    const int requests = server.requestsFor("/held");
    // The decoder waits in its read for the rest; once it comes, it goes back.
    ASSERT_TRUE(engine.setPosition(handle, 0));
    server.release();
    playFrames(frames(1));
    EXPECT_EQ(engine.getPosition(handle), stereoBytes(1));
    EXPECT_EQ(server.requestsFor("/held"), requests) << "the start came from the recording";
    ASSERT_TRUE(playUntilKept(handle, cache.keyOf("held")));
    EXPECT_EQ(TestAudio::readFile(*cache.find(cache.keyOf("held"))), bytes);
}

TEST_F(PlayedStreamTest, ASongCutShortOrLeftHalfwayIsNotKept) {
    const std::string bytes = TestAudio::readFile(flacTone());
    const struct {
        const char* name;
        bool breakOff;  // the server goes away mid-body; else the stream is freed halfway
    } cases[] = {{"freed halfway", false}, {"the answer breaks off", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AudioFileServer held;
        const std::string key = cache.keyOf(c.name);
        const auto handle = engine.createStream(recorded(held.serveHeldBack("/song", bytes, bytes.size() / 2), key));
        ASSERT_NE(handle, 0u);
        ASSERT_TRUE(engine.play(handle));
        playFrames(frames(0.5));
        if (c.breakOff) {
            held.breakOff();
            // The stream plays what it had, then stops without a clean end.
            ASSERT_TRUE(eventually([&] {
                output->advance(2048);
                return engine.isActive(handle) == StreamActivity::kStopped;
            }));
        }
        engine.freeStream(handle);
        EXPECT_TRUE(eventually([&] { return filesIn(folder).empty(); })) << "the scratch file goes with the stream";
        EXPECT_FALSE(cache.find(key));
    }
}

}  // namespace
