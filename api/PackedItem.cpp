#include "api/PackedItem.h"

#include "text/TextUtils.h"

PackedItem PackedItem::banner(std::string_view imageUrl, std::string_view typeTitle, std::string_view targetId) {
    std::string text = "#pica#";
    text.append(imageUrl).append("#picb##typea#").append(typeTitle).append("#typeb#ida#");
    text.append(targetId).append("#idb#");
    return PackedItem(std::move(text));
}

PackedItem PackedItem::personalizedMv(std::string_view picUrl, std::string_view name, std::string_view id) {
    std::string text = "#pica#";
    text.append(picUrl).append("#picb##namea#").append(name).append("#nameb##ida#");
    text.append(id).append("#idb#");
    return PackedItem(std::move(text));
}

std::string PackedItem::picture() const { return textBetween(text_, "#pica#", "#picb#"); }

std::string PackedItem::id() const { return textBetween(text_, "#ida#", "#idb#"); }
