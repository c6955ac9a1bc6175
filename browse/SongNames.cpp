#include "browse/SongNames.h"

#include "api/CloudApiClient.h"

std::vector<CoverItem> SongNames::rowsFor(const std::vector<std::string>& ids,
                                          const std::map<std::string, CoverItem>& named) const {
    std::vector<std::string> unnamed;
    for (const std::string& id : ids)
        if (!named.contains(id)) unnamed.push_back(id);
    const SongNameList names = unnamed.empty() ? SongNameList{} : client_.fetchSongNames(unnamed);
    std::vector<CoverItem> rows;
    size_t answered = 0;
    for (const std::string& id : ids) {
        if (const auto found = named.find(id); found != named.end()) {
            rows.push_back(found->second);
            continue;
        }
        const size_t i = answered++;
        const std::string name = i < names.names.size() ? names.names[i] : "";
        const std::string artist = i < names.firstArtists.size() ? names.firstArtists[i] : "";
        rows.push_back({"", name, id, artist});
    }
    return rows;
}
