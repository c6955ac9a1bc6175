#pragma once
// Numbers too large for a double. ECMAScript reads 1e400 as Infinity and
// -1e400 as -Infinity; the JSON parser refuses the whole text instead. The
// text is rewritten so that each such number becomes a marker string, which
// the tree builder turns back into the infinite number, leaving the rest of
// the answer as it was.
#include <optional>
#include <string>
#include <string_view>

// What the builder recognises. A zero byte cannot come from the service as
// a raw character, only escaped, so an answer would have to spell the
// marker out as "\u0000Infinity" to look like one.
inline constexpr std::string_view kPositiveInfinityMarker{"\0Infinity", 9};
inline constexpr std::string_view kNegativeInfinityMarker{"\0-Infinity", 10};

// The text with every number outside the double range replaced by its
// marker (as an escaped JSON string), or nothing when it has none.
std::optional<std::string> markOverflowingNumbers(std::string_view text);
