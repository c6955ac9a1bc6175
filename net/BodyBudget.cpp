#include "net/BodyBudget.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// Hands the free pages of the heap back to the system. glibc keeps freed
// blocks for reuse, so after a burst of large answers the resident size
// would stay at the burst's height.
void releaseFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace

bool BodyBudget::take(std::size_t bytes) {
    std::lock_guard lock(mutex_);
    if (bytes > total_ - used_) return false;
    used_ += bytes;
    return true;
}

void BodyBudget::giveBack(std::size_t bytes) {
    bool burstOver = false;
    {
        std::lock_guard lock(mutex_);
        used_ -= bytes < used_ ? bytes : used_;
        burstOver = bytes > 0 && used_ == 0;
    }
    if (burstOver) releaseFreedMemory();
}

std::size_t BodyBudget::inUse() const {
    std::lock_guard lock(mutex_);
    return used_;
}

BodyBudget& BodyBudget::shared() {
    static BodyBudget budget(16 * 1024 * 1024);
    return budget;
}
