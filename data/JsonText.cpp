#include "data/JsonText.h"

#include <charconv>
#include <cstdint>
#include <string_view>

#include <double-conversion/double-to-string.h>

namespace {

constexpr std::string_view kBackslashStandIn = "\xE2\x90\x80";  // U+2400

// Integers up to 2^53 are exact doubles and print as their plain digits.
constexpr std::int64_t kLargestExactInteger = std::int64_t{1} << 53;

void appendInteger(std::int64_t number, std::string& out) {
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    out.append(digits, end);
}

void appendNumber(double number, std::string& out) {
    char digits[64];
    double_conversion::StringBuilder builder(digits, sizeof digits);
    double_conversion::DoubleToStringConverter::EcmaScriptConverter().ToShortest(number, &builder);
    out.append(digits, static_cast<std::size_t>(builder.position()));
}

void appendText(const JsonValue& value, std::string& out) {
    switch (value.type()) {
        case JsonValue::value_t::string: out += value.get_ref<const JsonValue::string_t&>(); break;
        case JsonValue::value_t::number_integer: {
            const auto number = value.get<std::int64_t>();
            if (number >= -kLargestExactInteger && number <= kLargestExactInteger) {
                appendInteger(number, out);
            } else {
                appendNumber(static_cast<double>(number), out);
            }
            break;
        }
        case JsonValue::value_t::number_unsigned: {
            const auto number = value.get<std::uint64_t>();
            if (number <= static_cast<std::uint64_t>(kLargestExactInteger)) {
                appendInteger(static_cast<std::int64_t>(number), out);
            } else {
                appendNumber(static_cast<double>(number), out);
            }
            break;
        }
        case JsonValue::value_t::number_float: appendNumber(value.get<double>(), out); break;
        case JsonValue::value_t::boolean: out += value.get<bool>() ? "true" : "false"; break;
        case JsonValue::value_t::array: {
            bool first = true;
            for (const JsonValue& member : value) {
                if (!first) {
                    out += ',';
                }
                first = false;
                appendText(member, out);
            }
            break;
        }
        case JsonValue::value_t::object: out += "[object Object]"; break;
        default:  // null, and nothing else the parser produces
            break;
    }
}

void restoreBackslashes(std::string& text) {
    std::size_t pos = text.find(kBackslashStandIn);
    if (pos == std::string::npos) {
        return;
    }
    std::string restored(text, 0, pos);
    while (pos != std::string::npos) {
        restored += '\\';
        const std::size_t copyFrom = pos + kBackslashStandIn.size();
        const std::size_t next = text.find(kBackslashStandIn, copyFrom);
        restored.append(text, copyFrom, (next == std::string::npos ? text.size() : next) - copyFrom);
        pos = next;
    }
    text = std::move(restored);
}

}  // namespace

std::string jsonValueText(const JsonValue& value) {
    std::string text;
    appendText(value, text);
    restoreBackslashes(text);
    return text;
}
