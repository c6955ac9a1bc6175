#pragma once
// Reading list answers member by member: for member i the paths
// "<array>[i].<key>" are read in the order given, and the member's entry is
// complete before the next member is read.
#include "api/CloudRecords.h"
#include "data/JsonDocument.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Size suffixes the service's picture URLs take.
inline constexpr std::string_view kCoverSizeSuffix = "?param=250y250";
inline constexpr std::string_view kTopArtistSizeSuffix = "?param=200y200";

// "<arrayPath>[<index>].<key>", the index as a plain decimal number.
std::string memberPath(std::string_view arrayPath, int index, std::string_view key);

enum class CoverField { Picture, Name, Id, Subtitle };

struct CoverFieldKey {
    CoverField field;
    std::string_view key;  // path below the member, e.g. "artist.name"
};

// One CoverItem per member of the array; `pictureSuffix` is appended to every
// picture URL, also to an empty one.
std::vector<CoverItem> readCoverItems(const JsonDocument& answer, std::string_view arrayPath,
                                      std::initializer_list<CoverFieldKey> keys, std::string_view pictureSuffix = {});

// The first artist alone, or the first two joined by the full-width comma.
std::string joinFirstTwoArtists(const std::string& first, const std::string& second);
