#pragma once
// The decode thread of one stream: it opens the source, reports its format,
// then keeps the stream's buffer filled, following seeks and, while the
// buffer says so, going on from the start whenever the source ends. It ends
// once the buffer is closed and its token fired; its owner then joins it.
#include "audio/CancelToken.h"
#include "audio/Equalizer.h"
#include "audio/StreamBuffer.h"
#include "audio/StreamDecoder.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <thread>

struct FedStream {
    int sampleRate = 0;
    int channels = 0;
    int64_t lengthFrames = -1;
    std::shared_ptr<StreamBuffer> buffer;  // shared with the decode thread
    std::thread thread;                    // the decode thread, for the stream to join
};

// How the decode thread treats what it decodes.
struct FeedSettings {
    bool loop = false;                                  // the buffer starts looping
    DecodedFormat format;                               // the frames made; the source's own where its fields are 0
    bool measureLoudness = false;                       // a source decoded from its start to its end without a seek
                                                        // leaves its loudness in the buffer
    std::shared_ptr<const EqualizerControl> equalizer;  // followed on every block when given
};

// Starts the decode thread and waits until the source is open. nullopt when
// it does not open (the thread has then been joined). `cancel` aborts its
// network reads; close the buffer and fire `cancel` to end it.
std::optional<FedStream> startFeeding(MediaLocation location, std::shared_ptr<CancelToken> cancel,
                                      FeedSettings settings);
