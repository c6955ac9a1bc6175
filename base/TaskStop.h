#pragma once
// The stop token of the task running on this thread, so blocking calls deep
// below a task (an HTTP transfer, opening an audio stream) can give up when
// the task's owner asks it to stop, without every call passing a token on.
// A thread that no task runs on has a token that never stops.
#include <stop_token>

namespace TaskStop {

// The token of the task running on the calling thread.
std::stop_token current();

// True once the task running on the calling thread has been asked to stop.
inline bool requested() { return current().stop_requested(); }

// Makes `token` the calling thread's token for the scope's life.
class Scope {
public:
    explicit Scope(std::stop_token token);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    std::stop_token previous_;
};

}  // namespace TaskStop
