#include "player/PlayMode.h"

#include <array>

namespace {
constexpr std::array<const char*, 3> kNames = {"Circulate", "List", "Random"};
}

const char* playModeName(PlayMode mode) { return kNames[static_cast<size_t>(mode)]; }

std::optional<PlayMode> parsePlayMode(std::string_view text) {
    for (size_t i = 0; i < kNames.size(); ++i)
        if (text == kNames[i]) return static_cast<PlayMode>(i);
    return std::nullopt;
}
