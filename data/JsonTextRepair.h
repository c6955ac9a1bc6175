#pragma once
// Mends the two flaws a service answer can carry that a strict JSON parser
// rejects although a browser would read the answer: bytes that are not
// valid UTF-8 and "\uD83D"-style escapes of half a surrogate pair (a text
// cut in the middle of an emoji). Both become U+FFFD, so one damaged title
// no longer blanks a whole page.
#include <optional>
#include <string>
#include <string_view>

// The mended text, or nothing when the text has neither flaw.
std::optional<std::string> repairJsonText(std::string_view text);
