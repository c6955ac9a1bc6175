#include "data/EcmaReplacement.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void appendEcmaReplacement(std::string_view replacement, std::string_view subject, std::size_t matchStart,
                           std::string_view matched, const std::vector<std::string_view>& groups, std::string& out) {
    const std::size_t groupCount = groups.size();
    std::size_t pos = 0;
    while (pos < replacement.size()) {
        const char c = replacement[pos];
        const char next = pos + 1 < replacement.size() ? replacement[pos + 1] : '\0';
        if (c != '$' || next == '\0') {
            out += c;
            ++pos;
        } else if (next == '$') {
            out += '$';
            pos += 2;
        } else if (next == '&') {
            out += matched;
            pos += 2;
        } else if (next == '`') {
            out += subject.substr(0, matchStart);
            pos += 2;
        } else if (next == '\'') {
            out += subject.substr(matchStart + matched.size());
            pos += 2;
        } else if (isDigit(next)) {
            // Two digits win when they name a group; otherwise one digit may.
            const std::size_t one = static_cast<std::size_t>(next - '0');
            const char third = pos + 2 < replacement.size() ? replacement[pos + 2] : '\0';
            const std::size_t two = isDigit(third) ? one * 10 + static_cast<std::size_t>(third - '0') : 0;
            if (two >= 1 && two <= groupCount) {
                out += groups[two - 1];
                pos += 3;
            } else if (one >= 1 && one <= groupCount) {
                out += groups[one - 1];
                pos += 2;
            } else {
                out += '$';
                ++pos;
            }
        } else {
            out += '$';
            ++pos;
        }
    }
}
