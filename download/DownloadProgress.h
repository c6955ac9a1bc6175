#pragma once
// The percentage a running download shows.
#include <algorithm>
#include <cstdint>

// Below 100 while bytes arrive: only a song saved under its final name is
// done. Worked out in 64 bits, so songs of any size count right; while the
// total is unknown (0) the percentage stays as it was.
inline int downloadPercent(std::int64_t received, std::int64_t total, int previous) {
    if (total <= 0) return previous;
    const std::int64_t perMille = std::clamp<std::int64_t>(received, 0, total) * 1000 / total;
    return static_cast<int>(std::min<std::int64_t>(perMille / 10, 99));
}
