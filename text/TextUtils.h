#pragma once
// Pure text helpers used by the network and page code: URL encoding, Base64,
// slicing, header-line parts, item lists and the toolkit font record.
// Texts are UTF-8; no search, split or replacement starts or ends inside a
// character. Stateless, never throw, safe on any thread.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Percent-encodes a text. asUtf8 encodes its UTF-8 bytes, otherwise its GBK
// bytes. keepUnreserved keeps ' ( ) * - . 0-9 A-Z _ a-z; a space becomes "+".
std::string urlEncode(std::string_view text, bool keepUnreserved = false, bool asUtf8 = false);

// RFC 4648 Base64 with "=" padding, no line breaks.
std::string base64Encode(std::string_view bytes);

// Everything after the last `separator`; empty when it does not occur.
std::string textAfterLast(std::string_view text, std::string_view separator);

// Everything before the first `separator`; empty when it does not occur.
std::string textBeforeFirst(std::string_view text, std::string_view separator);

// The text strictly between the first `left` and the next `right` after it.
// "#引号" in either marker stands for a double quote.
std::string textBetween(std::string_view text, std::string_view left, std::string_view right);

// The trimmed name / value of a "Name: value" line; empty without a ":".
std::string headerLineName(std::string_view line);
std::string headerLineValue(std::string_view line);

// Splits at `separator`: adjacent separators give an empty item, a trailing
// separator gives no empty last item, and the empty text gives no items.
std::vector<std::string> splitText(std::string_view text, std::string_view separator);

// Removes leading and trailing ASCII spaces and full-width spaces (U+3000).
std::string trimText(std::string_view text);

// Keeps the first of equal items, in order, joined by `separator`.
std::string removeDuplicateItems(std::string_view text, std::string_view separator);

// The 84-byte font record: face as UTF-16LE with terminator (at most 31
// characters) in bytes 0-63, then five little-endian 32-bit integers.
using ToolkitFont = std::array<std::uint8_t, 84>;
ToolkitFont makeToolkitFont(std::string_view face, std::int32_t size, std::int32_t styleCode, std::int32_t third,
                            std::int32_t fourth, std::int32_t fifth);
