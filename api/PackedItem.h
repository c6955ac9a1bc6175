#pragma once
// A list entry held in one text whose fields stand between markers, as the
// home page keeps its banners and daily MVs. Fields are read back with
// textBetween: empty when a marker is missing.
#include <string>
#include <string_view>

class PackedItem {
public:
    // "#pica#" imageUrl "#picb##typea#" typeTitle "#typeb#ida#" targetId "#idb#"
    static PackedItem banner(std::string_view imageUrl, std::string_view typeTitle, std::string_view targetId);
    // "#pica#" picUrl "#picb##namea#" name "#nameb##ida#" id "#idb#"
    static PackedItem personalizedMv(std::string_view picUrl, std::string_view name, std::string_view id);

    const std::string& text() const { return text_; }
    std::string picture() const;  // between "#pica#" and "#picb#"
    std::string id() const;       // between "#ida#" and "#idb#"

private:
    explicit PackedItem(std::string text) : text_(std::move(text)) {}
    std::string text_;
};
