#include "player/LyricOffsets.h"

#include "base/StateFile.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace {
using Json = nlohmann::ordered_json;
}

LyricOffsets::LyricOffsets(std::string path) : path_(std::move(path)) {
    if (path_.empty()) return;
    const Json kept = Json::parse(StateFile::read(path_), nullptr, false);
    if (!kept.is_object()) return;
    for (const auto& [songId, offset] : kept.items())
        if (offset.is_number_integer() && offset.get<int>() != 0)
            offsets_.emplace_back(songId, std::clamp(offset.get<int>(), -kLimitMs, kLimitMs));
}

int LyricOffsets::offsetOf(const std::string& songId) const {
    const auto found =
        std::find_if(offsets_.begin(), offsets_.end(), [&](const auto& kept) { return kept.first == songId; });
    return found == offsets_.end() ? 0 : found->second;
}

int LyricOffsets::set(const std::string& songId, int offsetMs) {
    if (songId.empty()) return 0;
    const int offset = std::clamp(offsetMs, -kLimitMs, kLimitMs);
    std::erase_if(offsets_, [&](const auto& kept) { return kept.first == songId; });
    if (offset != 0) offsets_.emplace_back(songId, offset);
    if (offsets_.size() > kMostSongs) offsets_.erase(offsets_.begin());
    write();
    return offset;
}

void LyricOffsets::write() const {
    if (path_.empty()) return;
    Json kept = Json::object();
    for (const auto& [songId, offset] : offsets_) kept[songId] = offset;
    StateFile::write(path_, kept.dump(1));
}
