#pragma once
// One ECMAScript-style regular expression run over one subject text, with
// the matches kept for queries. Positions are byte offsets in the UTF-8 subject.
#include <string>
#include <string_view>
#include <vector>

class RegexMatcher {
public:
    // Compiles `pattern` and finds its matches (all of them when global).
    // False, with every query empty, when the pattern cannot be compiled or
    // the search runs into the engine's backtracking limit.
    // quotePlaceholder turns "#引号" in the pattern into a double quote.
    // Ill-formed UTF-8 in the subject never matches anything.
    bool execute(std::string_view pattern, std::string_view subject, bool caseSensitive = false, bool multiline = true,
                 bool global = true, bool quotePlaceholder = false);

    std::string pattern() const;
    // The subject with every match replaced; "$1".."$99", "$&", "$`", "$'"
    // and "$$" expand as in ECMAScript.
    std::string replace(std::string_view replacement) const;
    int matchCount() const;
    // Match numbers and group numbers count from 1. `position`, when given,
    // receives the byte offset where the match or group matched (-1 when it
    // does not exist or the group took no part).
    std::string matchText(int match, int* position = nullptr) const;
    std::string subMatchText(int match, int group, int* position = nullptr) const;
    int subMatchCount() const;

private:
    struct Group {
        std::string text;
        int position = -1;
    };
    struct Match {
        Group whole;
        std::vector<Group> groups;
    };
    std::string pattern_;
    std::string subject_;
    std::vector<Match> matches_;
};
