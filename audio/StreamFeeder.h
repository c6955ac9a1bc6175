#pragma once
// The decode thread of one stream: it opens the source, reports its format,
// then keeps the stream's buffer filled, following seeks and, for a looping
// stream, going on from the start whenever the source ends. It ends by itself
// once the buffer is closed, so it is never joined and nothing waits on it.
#include "audio/CancelToken.h"
#include "audio/StreamBuffer.h"
#include "audio/StreamDecoder.h"

#include <cstdint>
#include <memory>
#include <optional>

struct FedStream {
    int sampleRate = 0;
    int channels = 0;
    int64_t lengthFrames = -1;
    std::shared_ptr<StreamBuffer> buffer;  // shared with the decode thread
};

// Starts the decode thread and waits until the source is open. nullopt when
// it does not open (the thread has then ended). `cancel` aborts its network
// reads; close the buffer and fire `cancel` to end it.
std::optional<FedStream> startFeeding(MediaLocation location, bool loop, std::shared_ptr<CancelToken> cancel);
