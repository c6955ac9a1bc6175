#include "server/relay/UpstreamStream.h"

UpstreamStream::UpstreamStream(const UpstreamRequest& request, int phaseSeconds) {
    CurlExchangeSpec spec = upstreamExchange(request, phaseSeconds);
    spec.headSink = [this](std::string_view head) {
        std::lock_guard lock(mutex_);
        head_ = Head{UpstreamAnswer::Outcome::Answered, statusOf(head), contentTypeOf(head)};
        changed_.notify_all();
    };
    spec.bodySink = [this](std::string_view bytes) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return cancelled_ || buffered_ < kMaxBuffered; });
        if (cancelled_) return false;
        pieces_.emplace_back(bytes);
        buffered_ += bytes.size();
        changed_.notify_all();
        return true;
    };
    thread_ = std::thread(&UpstreamStream::run, this, std::move(spec));
}

UpstreamStream::~UpstreamStream() {
    cancel();
    thread_.join();
}

void UpstreamStream::run(CurlExchangeSpec spec) {
    CurlSession session;
    end(runCurlExchange(session, spec));
}

void UpstreamStream::end(const CurlExchangeResult& result) {
    std::lock_guard lock(mutex_);
    const bool complete = result.outcome == CurlExchangeResult::Outcome::Complete;
    if (!head_) {
        // No body came, so the head was never handed over: it is in the result.
        head_ = complete ? Head{UpstreamAnswer::Outcome::Answered, result.statusCode, contentTypeOf(result.headers)}
                         : Head{failureOf(result.outcome), 0, {}};
    } else if (!complete) {
        broken_ = true;
    }
    ended_ = true;
    changed_.notify_all();
}

UpstreamStream::Head UpstreamStream::head() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return head_.has_value(); });
    return *head_;
}

bool UpstreamStream::next(std::string& piece) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !pieces_.empty() || ended_; });
    if (pieces_.empty()) return false;
    piece = std::move(pieces_.front());
    pieces_.pop_front();
    buffered_ -= piece.size();
    changed_.notify_all();
    return true;
}

bool UpstreamStream::broken() const {
    std::lock_guard lock(mutex_);
    return broken_;
}

void UpstreamStream::cancel() {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    changed_.notify_all();
}
