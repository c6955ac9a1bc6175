#include "data/JsonTreeBuilder.h"

#include <exception>
#include <limits>

#include "data/JsonNumberOverflow.h"

namespace {

// Objects up to this size are searched member by member for a repeated name;
// larger ones get a hash index.
constexpr std::size_t kLinearSearchLimit = 64;

}  // namespace

bool buildJsonTree(std::string_view text, JsonValue& root) {
    root = nullptr;
    // The parser would take a zero byte for the end of the text.
    if (text.find('\0') != std::string_view::npos) {
        return false;
    }
    try {
        JsonTreeBuilder builder(root);
        if (JsonValue::sax_parse(text.data(), text.data() + text.size(), &builder)) {
            return true;
        }
    } catch (const std::exception&) {
        // Only allocation failure can land here; it means the same as bad text.
    }
    root = nullptr;
    return false;
}

template <class Value>
JsonValue* JsonTreeBuilder::place(Value&& value) {
    if (open_.empty()) {
        root_ = JsonValue(std::forward<Value>(value));
        return &root_;
    }
    JsonValue& parent = *open_.back().value;
    if (parent.is_array()) {
        auto& members = parent.get_ref<JsonValue::array_t&>();
        members.emplace_back(std::forward<Value>(value));
        return &members.back();
    }
    *pendingMember_ = JsonValue(std::forward<Value>(value));
    return pendingMember_;
}

// The markers of numbers too large for a double become those numbers again.
bool JsonTreeBuilder::string(string_t& value) {
    if (!value.empty() && value.front() == '\0') {
        constexpr double infinity = std::numeric_limits<double>::infinity();
        if (value == kPositiveInfinityMarker) return place(infinity) != nullptr;
        if (value == kNegativeInfinityMarker) return place(-infinity) != nullptr;
    }
    return place(std::move(value)) != nullptr;
}

bool JsonTreeBuilder::open(JsonValue::value_t type) {
    if (open_.size() >= kMaxJsonDepth) {
        return false;
    }
    open_.push_back({place(type), nullptr});
    return true;
}

bool JsonTreeBuilder::start_object(std::size_t) { return open(JsonValue::value_t::object); }

bool JsonTreeBuilder::start_array(std::size_t) { return open(JsonValue::value_t::array); }

bool JsonTreeBuilder::end_object() {
    open_.pop_back();
    return true;
}

bool JsonTreeBuilder::end_array() {
    open_.pop_back();
    return true;
}

// A repeated name keeps its first position and takes the last value, as
// JSON.parse does.
bool JsonTreeBuilder::key(string_t& name) {
    OpenContainer& object = open_.back();
    auto& members = object.value->get_ref<JsonValue::object_t&>();
    if (!object.keys) {
        for (auto& member : members) {
            if (member.first == name) {
                pendingMember_ = &member.second;
                return true;
            }
        }
        if (members.size() >= kLinearSearchLimit) {
            object.keys = std::make_unique<KeyIndex>();
            for (std::size_t i = 0; i < members.size(); ++i) {
                object.keys->emplace(members.begin()[i].first, i);
            }
        }
    }
    if (object.keys) {
        auto [slot, added] = object.keys->emplace(name, members.size());
        if (!added) {
            pendingMember_ = &members.begin()[slot->second].second;
            return true;
        }
    }
    members.emplace_back(std::move(name), nullptr);
    pendingMember_ = &members.back().second;
    return true;
}
