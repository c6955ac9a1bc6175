#include "data/JsonDocument.h"

#include "data/JsonNumberOverflow.h"
#include "data/JsonPath.h"
#include "data/JsonText.h"
#include "data/JsonTextRepair.h"
#include "data/JsonTreeBuilder.h"

namespace {

// Every document is named "da"; a path may spell the name out ("da.result").
constexpr std::string_view kDocumentName = "da";

bool startsWithDocumentName(std::string_view path) {
    return path.starts_with(kDocumentName) && (path.size() == kDocumentName.size() ||
                                               path[kDocumentName.size()] == '.' || path[kDocumentName.size()] == '[');
}

}  // namespace

struct JsonDocument::Tree {
    JsonValue root = JsonValue::object();

    // A path that spells out the document's name is read without it when
    // that names a value; otherwise it is a path below the root like any other
    // (so "da.x" also reaches a member called "da").
    const JsonValue* find(std::string_view path) const {
        if (startsWithDocumentName(path)) {
            std::string_view rest = path.substr(kDocumentName.size());
            // "da.name" reads "name"; "da." and "da.[0]" name nothing.
            const bool dotted = rest.starts_with('.');
            if (dotted) {
                rest.remove_prefix(1);
            }
            if (!dotted || (!rest.empty() && rest[0] != '[')) {
                const JsonValue* value = findJsonPath(root, rest);
                if (value != nullptr && !value->is_null()) {
                    return value;
                }
            }
        }
        return findJsonPath(root, path);
    }
};

JsonDocument::JsonDocument() : tree_(std::make_shared<Tree>()) {}
JsonDocument::~JsonDocument() = default;
JsonDocument::JsonDocument(const JsonDocument&) = default;
JsonDocument& JsonDocument::operator=(const JsonDocument&) = default;

bool JsonDocument::parse(std::string_view text) {
    JsonValue& root = tree_->root;
    if (!buildJsonTree(text, root)) {
        // Numbers beyond the double range, then damaged text, are mended in
        // turn; the fast path above pays for neither.
        const std::optional<std::string> marked = markOverflowingNumbers(text);
        const std::string_view readable = marked ? std::string_view(*marked) : text;
        if (!marked || !buildJsonTree(readable, root)) {
            const auto repaired = repairJsonText(readable);
            if (!repaired || !buildJsonTree(*repaired, root)) {
                return false;
            }
        }
    }
    // A lone string or null is not a document.
    if (root.is_string()) {
        root = nullptr;
    }
    return !root.is_null();
}

void JsonDocument::clear() { tree_->root = JsonValue::object(); }

bool JsonDocument::exists(std::string_view path) const {
    const JsonValue* value = tree_->find(path);
    return value != nullptr && !value->is_null();
}

std::string JsonDocument::getText(std::string_view path) const {
    const JsonValue* value = tree_->find(path);
    return value != nullptr ? jsonValueText(*value) : std::string();
}

int JsonDocument::count(std::string_view path) const {
    const JsonValue* value = tree_->find(path);
    if (value == nullptr || !value->is_array()) {
        return 0;
    }
    return static_cast<int>(value->size());
}
