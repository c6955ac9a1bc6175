#pragma once
// Builds an ordered JSON tree from nlohmann's parse events. Unlike the
// library's own builder it refuses nesting deeper than a fixed limit (the
// readers recurse, and a hostile answer could nest 100 000 levels), and it
// keeps a key index for large objects so that an object with many members is
// built in linear rather than quadratic time.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/JsonValue.h"

// Arrays and objects may nest this deep; deeper text is treated as invalid.
inline constexpr std::size_t kMaxJsonDepth = 512;

// Parses `text` into `root`. False, with `root` null, for invalid JSON or
// nesting deeper than kMaxJsonDepth.
bool buildJsonTree(std::string_view text, JsonValue& root);

class JsonTreeBuilder {
public:
    using number_integer_t = JsonValue::number_integer_t;
    using number_unsigned_t = JsonValue::number_unsigned_t;
    using number_float_t = JsonValue::number_float_t;
    using string_t = JsonValue::string_t;
    using binary_t = JsonValue::binary_t;

    explicit JsonTreeBuilder(JsonValue& root) : root_(root) {}

    bool null() { return place(nullptr) != nullptr; }
    bool boolean(bool value) { return place(value) != nullptr; }
    bool number_integer(number_integer_t value) { return place(value) != nullptr; }
    bool number_unsigned(number_unsigned_t value) { return place(value) != nullptr; }
    bool number_float(number_float_t value, const string_t&) { return place(value) != nullptr; }
    bool string(string_t& value);
    bool binary(binary_t&) { return false; }  // never produced by JSON text
    bool start_object(std::size_t);
    bool key(string_t& name);
    bool end_object();
    bool start_array(std::size_t);
    bool end_array();
    template <class Exception>
    bool parse_error(std::size_t, const std::string&, const Exception&) {
        return false;
    }

private:
    // Position of each member name, built once an object grows past a few members.
    using KeyIndex = std::unordered_map<std::string, std::size_t>;
    struct OpenContainer {
        JsonValue* value;
        std::unique_ptr<KeyIndex> keys;
    };

    template <class Value>
    JsonValue* place(Value&& value);
    bool open(JsonValue::value_t type);

    JsonValue& root_;
    std::vector<OpenContainer> open_;
    JsonValue* pendingMember_ = nullptr;  // the member the last key named
};
