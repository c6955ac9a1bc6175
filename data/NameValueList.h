#pragma once
// An ordered list of name/value pairs, rendered as a header block, a query
// string or a flat JSON object, and filled from a query string.
#include <string>
#include <string_view>
#include <vector>

class NameValueList {
public:
    // asUtf8 makes the query-string and header renderings percent-encode the
    // pair as UTF-8 rather than GBK bytes (the texts themselves are UTF-8).
    void add(std::string_view name, std::string_view value, bool asUtf8 = false);
    void parseQuery(std::string_view query, bool asUtf8 = false);
    std::string get(std::string_view name) const;
    // Replaces the first value of that name (or appends the pair) and returns it.
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
    // Whether a stored text is percent-encoded as its UTF-8 bytes (it was
    // added with asUtf8) or as its GBK bytes, as the service expects of
    // everything else.
    struct Encoding {
        bool nameAsUtf8 = false;
        bool valueAsUtf8 = false;
    };

    std::vector<std::string> names_;
    std::vector<std::string> values_;
    std::vector<Encoding> encodings_;  // one per pair
};
