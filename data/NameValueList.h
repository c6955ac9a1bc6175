#pragma once
// An ordered list of name/value pairs, rendered as a header block, a query
// string or a flat JSON object, and filled from a query string.
#include <string>
#include <string_view>
#include <vector>

class NameValueList {
public:
    void add(std::string_view name, std::string_view value, bool asUtf8 = false);
    void parseQuery(std::string_view query, bool asUtf8 = false);
    std::string get(std::string_view name) const;
    std::string set(std::string_view name, std::string_view value);
    std::string toQueryString(bool encode) const;
    // "Name: value" lines joined by CR LF, without a trailing CR LF.
    std::string toHeaderBlock(bool encodeValues = false) const;
    const std::vector<std::string>& names() const { return names_; }
    const std::vector<std::string>& values() const { return values_; }
    void clear();
    void remove(std::string_view name);
    std::string toJsonObject() const;
    static std::string escapeQuotes(std::string_view text);
    static std::string stripSeparator(std::string_view text, std::string_view separator);

private:
    std::vector<std::string> names_;
    std::vector<std::string> values_;
};
