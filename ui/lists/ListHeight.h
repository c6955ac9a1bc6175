#pragma once
// Heights of lists, slide boxes and scroll ranges computed from counts the
// service sends. They are worked out in 64 bits and clamped to what a widget
// can be, so an absurd count cannot overflow or produce a negative height.
#include <algorithm>
#include <cstdint>

// The tallest a widget can be.
inline constexpr std::int64_t kMaxListHeight = 16777215;

constexpr int clampListHeight(std::int64_t height) { return int(std::clamp<std::int64_t>(height, 0, kMaxListHeight)); }

// `itemCount` items at `perItem` pixels each, plus `extra`.
constexpr int listHeight(std::int64_t itemCount, std::int64_t perItem, std::int64_t extra = 0) {
    return clampListHeight(std::clamp<std::int64_t>(itemCount, 0, kMaxListHeight) * perItem + extra);
}

// Rows that `itemCount` items fill, `perRow` to a row (`perRow` above 0).
constexpr std::int64_t rowsFor(std::int64_t itemCount, int perRow) {
    return itemCount <= 0 ? 0 : (itemCount + perRow - 1) / perRow;
}
