#pragma once
// Expands an ECMAScript replacement pattern for one match: "$$" is "$", "$&"
// the match, "$`" the text before it, "$'" the text after it, "$1".."$99"
// a capture group (empty when it did not take part). Anything else, such as
// "$0" or a group number the pattern does not have, stays as written.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

void appendEcmaReplacement(std::string_view replacement, std::string_view subject, std::size_t matchStart,
                           std::string_view matched, const std::vector<std::string_view>& groups, std::string& out);
