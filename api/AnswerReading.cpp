#include "api/AnswerReading.h"

std::string memberPath(std::string_view arrayPath, int index, std::string_view key) {
    std::string path(arrayPath);
    path.append("[").append(std::to_string(index)).append("].").append(key);
    return path;
}

void storeField(std::string& field, std::string text, FieldRead read) {
    switch (read) {
        case FieldRead::Set: field = std::move(text); return;
        case FieldRead::SecondArtist: field = joinFirstTwoArtists(field, text); return;
    }
}

std::vector<CoverItem> readCoverItems(const JsonDocument& answer, std::string_view arrayPath,
                                      std::initializer_list<CoverFieldKey> keys, std::string_view pictureSuffix) {
    std::vector<CoverItem> items = readMembers<CoverItem>(answer, arrayPath, keys);
    for (CoverItem& item : items) item.pictureUrl += pictureSuffix;
    return items;
}

std::string joinFirstTwoArtists(const std::string& first, const std::string& second) {
    return second.empty() ? first : first + "，" + second;
}
