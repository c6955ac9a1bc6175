#pragma once
// Steps through UTF-8 text one character at a time, treating each ill-formed
// part as one unit of its own, the way the Unicode standard recommends for
// replacing it with U+FFFD.
#include <cstddef>
#include <string_view>

struct Utf8Step {
    std::size_t length;  // bytes of this character or ill-formed part, at least 1
    bool valid;
};

// The character starting at `pos`, which must be inside `text`.
Utf8Step utf8StepAt(std::string_view text, std::size_t pos);
