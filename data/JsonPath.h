#pragma once
// Path expressions into a JSON tree: member names separated by ".", each
// optionally followed by "[n]" array indices counted from 0 ("result.songs[3].name").
// The empty path is the root; a path that starts with "[" indexes the root.
#include <string_view>

#include "data/JsonValue.h"

// The value the path names, or nullptr when any step is absent or the path
// is malformed. One walk down the tree, no copies.
const JsonValue* findJsonPath(const JsonValue& root, std::string_view path);
