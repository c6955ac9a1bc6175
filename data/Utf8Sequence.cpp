#include "data/Utf8Sequence.h"

namespace {

bool inRange(unsigned char byte, unsigned char low, unsigned char high) { return byte >= low && byte <= high; }

}  // namespace

Utf8Step utf8StepAt(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    unsigned char secondLow = 0x80, secondHigh = 0xBF;
    if (lead < 0x80) {
        return {1, true};
    } else if (inRange(lead, 0xC2, 0xDF)) {
        length = 2;
    } else if (inRange(lead, 0xE0, 0xEF)) {
        length = 3;
        if (lead == 0xE0) secondLow = 0xA0;   // no overlong forms
        if (lead == 0xED) secondHigh = 0x9F;  // no surrogates
    } else if (inRange(lead, 0xF0, 0xF4)) {
        length = 4;
        if (lead == 0xF0) secondLow = 0x90;   // no overlong forms
        if (lead == 0xF4) secondHigh = 0x8F;  // nothing beyond U+10FFFF
    } else {
        return {1, false};
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char low = i == 1 ? secondLow : 0x80;
        const unsigned char high = i == 1 ? secondHigh : 0xBF;
        if (pos + i >= text.size() || !inRange(static_cast<unsigned char>(text[pos + i]), low, high)) {
            return {i, false};
        }
    }
    return {length, true};
}
