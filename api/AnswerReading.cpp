#include "api/AnswerReading.h"

std::string memberPath(std::string_view arrayPath, int index, std::string_view key) {
    std::string path(arrayPath);
    path.append("[").append(std::to_string(index)).append("].").append(key);
    return path;
}

namespace {

std::string& fieldOf(CoverItem& item, CoverField field) {
    switch (field) {
    case CoverField::Picture: return item.pictureUrl;
    case CoverField::Name: return item.name;
    case CoverField::Id: return item.id;
    case CoverField::Subtitle: return item.subtitle;
    }
    return item.name;
}

}  // namespace

std::vector<CoverItem> readCoverItems(const JsonDocument& answer, std::string_view arrayPath,
                                      std::initializer_list<CoverFieldKey> keys, std::string_view pictureSuffix) {
    const int count = answer.count(arrayPath);
    std::vector<CoverItem> items;
    items.reserve(count);
    for (int i = 0; i < count; ++i) {
        CoverItem item;
        for (const CoverFieldKey& key : keys)
            fieldOf(item, key.field) = answer.getText(memberPath(arrayPath, i, key.key));
        item.pictureUrl += pictureSuffix;
        items.push_back(std::move(item));
    }
    return items;
}

std::string joinFirstTwoArtists(const std::string& first, const std::string& second) {
    return second.empty() ? first : first + "，" + second;
}
