#include "data/JsonTextRepair.h"

#include <cstddef>

#include "data/Utf8Sequence.h"

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
constexpr std::string_view kReplacementEscape = "\\uFFFD";

// The code unit of a "\uXXXX" escape starting at `pos`, or -1.
int escapedUnit(std::string_view text, std::size_t pos) {
    if (pos + 6 > text.size() || text[pos] != '\\' || text[pos + 1] != 'u') {
        return -1;
    }
    int unit = 0;
    for (std::size_t i = pos + 2; i < pos + 6; ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return -1;
        unit = unit * 16 + digit;
    }
    return unit;
}

bool isHighSurrogate(int unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(int unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::optional<std::string> repairJsonText(std::string_view text) {
    std::string mended;
    mended.reserve(text.size());
    bool changed = false;
    bool inString = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (inString && c == '\\') {
            const int unit = escapedUnit(text, pos);
            if (isHighSurrogate(unit) && isLowSurrogate(escapedUnit(text, pos + 6))) {
                mended.append(text.substr(pos, 12));
                pos += 12;
            } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
                mended.append(kReplacementEscape);
                changed = true;
                pos += 6;
            } else {
                // Any other escape: keep it and the character it escapes.
                mended.append(text.substr(pos, 2));
                pos += 2;
            }
            continue;
        }
        if (c == '"') {
            inString = !inString;
        }
        const Utf8Step step = utf8StepAt(text, pos);
        if (step.valid) {
            mended.append(text.substr(pos, step.length));
        } else {
            mended.append(kReplacementCharacter);
            changed = true;
        }
        pos += step.length;
    }
    if (!changed) {
        return std::nullopt;
    }
    return mended;
}
