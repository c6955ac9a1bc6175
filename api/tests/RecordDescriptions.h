#pragma once
// One-line texts of the client's records, so a table row can state the whole
// record it expects: fields joined by "|", list entries by "\n".
#include "api/CloudRecords.h"
#include "api/PackedItem.h"

#include <string>
#include <vector>

std::string describe(const SongDetail& detail);
std::string describe(const SongNameList& list);
std::string describe(const std::vector<SongItem>& songs);
std::string describe(const std::vector<CoverItem>& items);
std::string describe(const std::vector<PackedItem>& items);
std::string describe(const PlaylistDetail& detail);
std::string describe(const ArtistDetail& detail);
// The album's fields, a line break, then its songs.
std::string describe(const AlbumDetail& album);
std::string describe(const AccountProfile& profile);
std::string describe(const QrPollResult& result);
