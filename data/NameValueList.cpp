#include "data/NameValueList.h"

#include <algorithm>

#include "text/TextUtils.h"

namespace {

constexpr std::string_view kHeaderLineBreak = "\r\n";

}  // namespace

void NameValueList::add(std::string_view name, std::string_view value, bool asUtf8) {
    names_.emplace_back(name);
    values_.emplace_back(value);
    encodings_.push_back({asUtf8, asUtf8});
}

// "a=b=c" gives the name "a" and the value "c"; an item without "=" gives an
// empty name and value.
void NameValueList::parseQuery(std::string_view query, bool asUtf8) {
    for (const std::string& item : splitText(query, "&")) {
        add(textBeforeFirst(item, "="), textAfterLast(item, "="), asUtf8);
    }
}

std::string NameValueList::get(std::string_view name) const {
    const auto found = std::find(names_.begin(), names_.end(), name);
    return found == names_.end() ? std::string() : values_[static_cast<std::size_t>(found - names_.begin())];
}

std::string NameValueList::set(std::string_view name, std::string_view value) {
    const auto found = std::find(names_.begin(), names_.end(), name);
    if (found == names_.end()) {
        add(name, value);
        return values_.back();
    }
    const auto index = static_cast<std::size_t>(found - names_.begin());
    values_[index] = value;
    encodings_[index].valueAsUtf8 = false;
    return values_[index];
}

std::string NameValueList::toQueryString(bool encode) const {
    std::string query;
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (i > 0) {
            query += '&';
        }
        query += encode ? urlEncode(names_[i], true, encodings_[i].nameAsUtf8) : names_[i];
        query += '=';
        query += encode ? urlEncode(values_[i], true, encodings_[i].valueAsUtf8) : values_[i];
    }
    return query;
}

std::string NameValueList::toHeaderBlock(bool encodeValues) const {
    std::string block;
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (i > 0) {
            block += kHeaderLineBreak;
        }
        block += names_[i];
        block += ": ";
        block += encodeValues ? urlEncode(values_[i], true, encodings_[i].valueAsUtf8) : values_[i];
    }
    return block;
}

void NameValueList::clear() {
    names_.clear();
    values_.clear();
    encodings_.clear();
}

void NameValueList::remove(std::string_view name) {
    const auto found = std::find(names_.begin(), names_.end(), name);
    if (found == names_.end()) {
        return;
    }
    const auto index = found - names_.begin();
    names_.erase(found);
    values_.erase(values_.begin() + index);
    encodings_.erase(encodings_.begin() + index);
}

// Names go in as they are and values are escaped for double quotes only, so
// the result is JSON only for plain texts.
std::string NameValueList::toJsonObject() const {
    std::string members;
    for (std::size_t i = 0; i < names_.size(); ++i) {
        members += '"' + names_[i] + "\":\"" + escapeQuotes(values_[i]) + "\",";
    }
    return "{" + stripSeparator(members, ",") + "}";
}

std::string NameValueList::escapeQuotes(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        if (c == '"') {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

std::string NameValueList::stripSeparator(std::string_view text, std::string_view separator) {
    if (separator.empty()) {
        return std::string(text);
    }
    if (text.ends_with(separator)) {
        text.remove_suffix(separator.size());
    }
    if (text.starts_with(separator)) {
        text.remove_prefix(separator.size());
    }
    return std::string(text);
}
