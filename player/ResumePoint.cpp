#include "player/ResumePoint.h"

#include "base/StateFile.h"

#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::json;

int integerOr(const Json& point, const char* key, int fallback) {
    return point.contains(key) && point[key].is_number_integer() ? point[key].get<int>() : fallback;
}

std::string textOf(const Json& point, const char* key) {
    return point.contains(key) && point[key].is_string() ? point[key].get<std::string>() : std::string();
}

}  // namespace

std::optional<ResumePoint> ResumePoint::read(const std::string& path) {
    const Json kept = Json::parse(StateFile::read(path), nullptr, false);
    if (!kept.is_object()) return std::nullopt;
    ResumePoint point;
    if (kept.contains("queue") && kept["queue"].is_array())
        for (const Json& id : kept["queue"])
            if (id.is_string() && !id.get<std::string>().empty()) point.queue.push_back(id.get<std::string>());
    point.queuePosition = std::max(1, integerOr(kept, "queuePosition", 1));
    point.songId = textOf(kept, "songId");
    point.positionSeconds = std::max(0, integerOr(kept, "positionSeconds", 0));
    if (kept.contains("volume") && kept["volume"].is_number_integer()) point.volume = kept["volume"].get<int>();
    point.mode = textOf(kept, "mode");
    point.fm = kept.contains("fm") && kept["fm"].is_boolean() && kept["fm"].get<bool>();
    return point;
}

bool ResumePoint::write(const std::string& path) const {
    Json point{{"queue", queue},   {"queuePosition", queuePosition},
               {"songId", songId}, {"positionSeconds", positionSeconds},
               {"mode", mode},     {"fm", fm}};
    if (volume) point["volume"] = *volume;
    return StateFile::write(path, point.dump(1));
}
