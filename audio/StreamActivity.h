#pragma once
// What a stream is doing, as AudioEngine::isActive reports it.
namespace StreamActivity {
enum : int {
    kStopped = 0,  // also a stream that played to its end, and any invalid handle
    kPlaying = 1,
    kStalled = 2,  // playing, but waiting for the network; it goes on by itself
    kPaused = 3,
};
}  // namespace StreamActivity
