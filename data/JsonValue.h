#pragma once
// The tree behind a JsonDocument: nlohmann's JSON with members kept in the
// order of the text.
#include <nlohmann/json.hpp>

using JsonValue = nlohmann::ordered_json;
