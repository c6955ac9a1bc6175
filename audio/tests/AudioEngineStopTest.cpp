// Streams made on a background task: a stop request of the task abandons an
// open still waiting for the network, and leaves a stream already open alone.
#include "PlaybackFixture.h"
#include "TaskWait.h"

#include "ScriptedSocketServer.h"
#include "base/BackgroundTask.h"
#include "base/TaskStop.h"

#include <atomic>
#include <chrono>
#include <stop_token>
#include <thread>

namespace {

using namespace std::chrono_literals;
using AudioEngineStopTest = PlaybackTest;

// Polls `condition` within a bound that only catches a hang.
template <typename Condition>
bool eventually(Condition condition) {
    for (auto waited = 0ms; waited < 10s; waited += 5ms) {
        if (condition()) return true;
        std::this_thread::sleep_for(5ms);
    }
    return condition();
}

TEST_F(AudioEngineStopTest, StopRequestAbandonsAnOpenWaitingForTheServer) {
    ScriptedSocketServer silent({}, true);  // takes the request and never answers
    std::atomic<AudioEngine::Handle> made{1};
    TaskOwner owner;
    const BackgroundTask::Handle task =
        owner.start([&] { made = engine.createStream(StreamSource::fromUrl(silent.url("/song.mp3"))); });
    ASSERT_TRUE(eventually([&] { return !silent.requests().empty(); }));

    task->requestStop();
    // Without the stop the open would wait out FFmpeg's 15 s network time-out.
    ASSERT_TRUE(waitForTask(task, 5000));
    EXPECT_EQ(made.load(), 0u);
}

TEST_F(AudioEngineStopTest, TaskAlreadyAskedToStopMakesNoStreamFromAUrl) {
    const std::string url = server.serve("/tone.flac", TestAudio::readFile(flacTone()));
    {
        std::stop_source stopped;
        stopped.request_stop();
        TaskStop::Scope scope(stopped.get_token());
        EXPECT_EQ(engine.createStream(StreamSource::fromUrl(url)), 0u);
    }
    EXPECT_NE(engine.createStream(StreamSource::fromUrl(url)), 0u) << "the same URL opens outside the stopped task";
}

TEST_F(AudioEngineStopTest, StreamOpenedOnATaskKeepsReadingAfterTheTaskIsAskedToStop) {
    const std::string body = TestAudio::readFile(mp3Tone());
    const std::string url = server.serveHeldBack("/held.mp3", body, body.size() / 3);
    std::atomic<AudioEngine::Handle> made{0};
    TaskOwner owner;
    const BackgroundTask::Handle task = owner.start([&] {
        made = engine.createStream(StreamSource::fromUrl(url));
        while (!TaskStop::requested()) std::this_thread::sleep_for(5ms);
    });
    ASSERT_TRUE(eventually([&] { return made.load() != 0; }));
    task->requestStop();
    ASSERT_TRUE(waitForTask(task, 5000));

    // The rest of the body is read only now, after the stop.
    server.release();
    const AudioEngine::Handle handle = made.load();
    ASSERT_TRUE(engine.play(handle));
    playFrames(frames(2.5));
    EXPECT_EQ(engine.getPosition(handle), stereoBytes(2.5));
    EXPECT_EQ(engine.isActive(handle), StreamActivity::kPlaying);
}

}  // namespace
