#include "scrobble/ListenRule.h"

#include <algorithm>

bool ListenRule::playedSecond() {
    if (counted_ || lengthSeconds_ <= kShortestSeconds) return false;
    ++played_;
    const int needed = std::min(kMaxSecondsNeeded, (lengthSeconds_ + 1) / 2);
    if (played_ < needed) return false;
    counted_ = true;
    return true;
}
