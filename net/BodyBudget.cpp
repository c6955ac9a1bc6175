#include "net/BodyBudget.h"

bool BodyBudget::take(std::size_t bytes) {
    std::lock_guard lock(mutex_);
    if (bytes > total_ - used_) return false;
    used_ += bytes;
    return true;
}

void BodyBudget::giveBack(std::size_t bytes) {
    std::lock_guard lock(mutex_);
    used_ -= bytes < used_ ? bytes : used_;
}

std::size_t BodyBudget::inUse() const {
    std::lock_guard lock(mutex_);
    return used_;
}

BodyBudget& BodyBudget::shared() {
    static BodyBudget budget(16 * 1024 * 1024);
    return budget;
}
