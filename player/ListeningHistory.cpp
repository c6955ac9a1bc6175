#include "player/ListeningHistory.h"

#include "base/StateFile.h"

#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::json;

std::string textOf(const Json& entry, const char* key) {
    return entry.contains(key) && entry[key].is_string() ? entry[key].get<std::string>() : std::string();
}

}  // namespace

ListeningHistory::ListeningHistory(std::string path) : path_(std::move(path)) {
    const Json kept = Json::parse(StateFile::read(path_), nullptr, false);
    if (!kept.is_object() || !kept.contains("songs") || !kept["songs"].is_array()) return;
    for (const Json& entry : kept["songs"]) {
        if (!entry.is_object() || songs_.size() == kMostSongs) continue;
        PlayedSong song{textOf(entry, "id"), textOf(entry, "name"), textOf(entry, "artists")};
        if (entry.contains("playedAt") && entry["playedAt"].is_number_integer())
            song.playedAtMs = entry["playedAt"].get<std::int64_t>();
        if (!song.id.empty()) songs_.push_back(std::move(song));
    }
}

void ListeningHistory::add(PlayedSong song) {
    if (song.id.empty()) return;
    std::erase_if(songs_, [&song](const PlayedSong& kept) { return kept.id == song.id; });
    songs_.insert(songs_.begin(), std::move(song));
    if (songs_.size() > kMostSongs) songs_.resize(kMostSongs);
    write();
}

void ListeningHistory::clear() {
    songs_.clear();
    write();
}

void ListeningHistory::write() const {
    Json list = Json::array();
    for (const PlayedSong& song : songs_)
        list.push_back(
            {{"id", song.id}, {"name", song.name}, {"artists", song.artists}, {"playedAt", song.playedAtMs}});
    StateFile::write(path_, Json{{"songs", list}}.dump(1));
}
