#include "data/JsonPath.h"

#include <cstddef>

namespace {

// The index written between "[" and "]" at `path[pos]`, which is "[". On
// success `pos` moves past the "]". Digits only; a value beyond any array
// size (or a missing digit, a sign, a missing "]") gives false.
bool readIndex(std::string_view path, std::size_t& pos, std::size_t limit, std::size_t& index) {
    std::size_t at = pos + 1;
    std::size_t value = 0;
    bool tooLarge = false;
    const std::size_t firstDigit = at;
    while (at < path.size() && path[at] >= '0' && path[at] <= '9') {
        if (!tooLarge) {
            value = value * 10 + static_cast<std::size_t>(path[at] - '0');
            tooLarge = value > limit;
        }
        ++at;
    }
    if (at == firstDigit || at >= path.size() || path[at] != ']' || tooLarge) {
        return false;
    }
    pos = at + 1;
    index = value;
    return true;
}

const JsonValue* findMember(const JsonValue& object, std::string_view name) {
    if (!object.is_object()) {
        return nullptr;
    }
    for (const auto& member : object.get_ref<const JsonValue::object_t&>()) {
        if (member.first == name) {
            return &member.second;
        }
    }
    return nullptr;
}

}  // namespace

const JsonValue* findJsonPath(const JsonValue& root, std::string_view path) {
    const JsonValue* current = &root;
    std::size_t pos = 0;
    bool expectName = !path.empty() && path[0] != '[';
    while (pos < path.size() || expectName) {
        if (expectName) {
            const std::size_t end = path.find_first_of(".[]", pos);
            const std::string_view name = path.substr(pos, end == std::string_view::npos ? end : end - pos);
            if (name.empty() || (end != std::string_view::npos && path[end] == ']')) {
                return nullptr;
            }
            current = findMember(*current, name);
            if (current == nullptr) {
                return nullptr;
            }
            pos += name.size();
            expectName = false;
        } else if (path[pos] == '.') {
            ++pos;
            expectName = true;
        } else if (path[pos] == '[') {
            // Bounding the index by the array's size keeps the arithmetic from overflowing.
            const std::size_t size = current->is_array() ? current->size() : 0;
            std::size_t index = 0;
            if (!readIndex(path, pos, size, index) || index >= size) {
                return nullptr;
            }
            current = &(*current)[index];
        } else {
            return nullptr;
        }
    }
    return current;
}
