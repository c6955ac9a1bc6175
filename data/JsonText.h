#pragma once
// A JSON value as ECMAScript's String() shows it: numbers in their shortest
// round-trip form, arrays joined with "," (nested arrays flattened), objects
// as "[object Object]", null as the empty text.
#include <string>

#include "data/JsonValue.h"

// Every U+2400 in the result reads back as a backslash (the character stood
// for a backslash in stored strings).
std::string jsonValueText(const JsonValue& value);
