#pragma once
// Reading list answers member by member from a table of field keys: for
// member i the paths "<array>[i].<key>" are read in the order given, and the
// member's record is complete before the next member is read.
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

// How a key's text goes into its field.
enum class FieldRead {
    Set,           // the field takes the text
    SecondArtist,  // a non-empty text joins the field's first artist (joinFirstTwoArtists)
};

// One row of a reading table: the text at `key` below the member goes into
// the record's `field`.
template <typename Record>
struct FieldKey {
    std::string Record::*field;
    std::string_view key;  // path below the member, e.g. "artist.name"
    FieldRead read = FieldRead::Set;
};

// Puts `text` into `field` the way `read` says.
void storeField(std::string& field, std::string text, FieldRead read);

// One record per member of the array at `arrayPath`, filled from `keys`.
template <typename Record>
std::vector<Record> readMembers(const JsonDocument& answer, std::string_view arrayPath,
                                std::initializer_list<FieldKey<Record>> keys) {
    const int count = answer.count(arrayPath);
    std::vector<Record> records(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        for (const FieldKey<Record>& key : keys)
            storeField(records[static_cast<size_t>(i)].*key.field, answer.getText(memberPath(arrayPath, i, key.key)),
                       key.read);
    return records;
}

// Short names of CoverItem's fields for the reading tables.
namespace CoverField {
inline constexpr auto Picture = &CoverItem::pictureUrl;
inline constexpr auto Name = &CoverItem::name;
inline constexpr auto Id = &CoverItem::id;
inline constexpr auto Subtitle = &CoverItem::subtitle;
}  // namespace CoverField

using CoverFieldKey = FieldKey<CoverItem>;

// One CoverItem per member of the array; `pictureSuffix` is appended to every
// picture URL, also to an empty one.
std::vector<CoverItem> readCoverItems(const JsonDocument& answer, std::string_view arrayPath,
                                      std::initializer_list<CoverFieldKey> keys, std::string_view pictureSuffix = {});

// The first artist alone, or the first two joined by the full-width comma.
std::string joinFirstTwoArtists(const std::string& first, const std::string& second);
