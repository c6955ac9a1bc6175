#pragma once
// One upstream exchange whose body is passed on while it arrives: the
// exchange runs on a thread of its own and hands its head and then its body
// pieces to whoever reads the stream (the relay's answer to the client).
// At most kMaxBuffered bytes wait unread; the exchange waits for the reader
// beyond that.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "server/relay/UpstreamCall.h"

class UpstreamStream {
public:
    static constexpr std::size_t kMaxBuffered = 1024 * 1024;

    struct Head {
        UpstreamAnswer::Outcome outcome = UpstreamAnswer::Outcome::Unreachable;  // Answered: a head arrived
        int status = 0;
        std::string contentType;
    };

    // Starts the exchange.
    UpstreamStream(const UpstreamRequest& request, int phaseSeconds);
    // Ends the exchange if it still runs and waits for its thread.
    ~UpstreamStream();
    UpstreamStream(const UpstreamStream&) = delete;
    UpstreamStream& operator=(const UpstreamStream&) = delete;

    // Waits for the answer's head, or for the exchange to fail without one.
    Head head();
    // Waits for the body's next piece; false once the body has ended.
    bool next(std::string& piece);
    // After next() returned false: whether the body was cut off (the
    // upstream broke off, fell silent, passed the cap) rather than complete.
    bool broken() const;
    // The reader is gone: the exchange ends at its next body bytes.
    void cancel();

private:
    void run(CurlExchangeSpec spec);
    void end(const CurlExchangeResult& result);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    // All guarded by mutex_.
    std::optional<Head> head_;
    std::deque<std::string> pieces_;
    std::size_t buffered_ = 0;
    bool ended_ = false;
    bool broken_ = false;
    bool cancelled_ = false;

    std::thread thread_;  // runs the exchange; started last, joined by the destructor
};
