#pragma once
// What follows the end of a song: the same song again, the next queued song,
// or a random queued song. Stored as "Circulate", "List" or "Random".
#include <optional>
#include <string_view>

enum class PlayMode { Circulate, List, Random };

// The stored text of a mode.
const char* playModeName(PlayMode mode);
// The mode a stored text names exactly; empty when it names none.
std::optional<PlayMode> parsePlayMode(std::string_view text);
