#pragma once
// Memory for answer bodies beyond their first megabyte, shared by every
// transfer of the process. Each transfer keeps its own limit, but however
// many large answers come in at once (a service that sends 64 MB to each of
// ten requests), together they hold no more than the budget: a transfer
// whose body would take more fails as too large. Answers of ordinary size
// never touch it.
#include <cstddef>
#include <mutex>

class BodyBudget {
public:
    // Each body may hold this much without asking the budget.
    static constexpr std::size_t kFreeBytes = 1024 * 1024;

    explicit BodyBudget(std::size_t totalBytes) : total_(totalBytes) {}

    // Takes `bytes` more of the budget; false, taking nothing, when that
    // would exceed it.
    bool take(std::size_t bytes);
    // Gives `bytes` back; when that leaves none in use, a burst of large
    // bodies is over and the memory they freed goes back to the system.
    void giveBack(std::size_t bytes);
    std::size_t inUse() const;

    // The budget of the program's transfers: 16 MB, so one answer of up to
    // 17 MB still arrives while no other large one is under way.
    static BodyBudget& shared();

private:
    const std::size_t total_;
    mutable std::mutex mutex_;
    std::size_t used_ = 0;  // guarded by mutex_
};
