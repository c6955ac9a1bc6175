#include "data/RegexMatcher.h"

#include <cstddef>
#include <memory>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include "data/EcmaReplacement.h"
#include "data/Utf8Sequence.h"

namespace {

struct CodeDeleter {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
struct CompileContextDeleter {
    void operator()(pcre2_compile_context* context) const { pcre2_compile_context_free(context); }
};
using CodePtr = std::unique_ptr<pcre2_code, CodeDeleter>;
using MatchDataPtr = std::unique_ptr<pcre2_match_data, MatchDataDeleter>;
using CompileContextPtr = std::unique_ptr<pcre2_compile_context, CompileContextDeleter>;

constexpr std::string_view kQuotePlaceholder = "#引号";

std::string replaceQuotePlaceholders(std::string_view pattern) {
    std::string result;
    std::size_t from = 0;
    for (std::size_t at = pattern.find(kQuotePlaceholder); at != std::string_view::npos;
         at = pattern.find(kQuotePlaceholder, from)) {
        result.append(pattern, from, at - from);
        result += '"';
        from = at + kQuotePlaceholder.size();
    }
    result.append(pattern, from);
    return result;
}

// UTF-8 in and out, ill-formed subject bytes simply never match, and the
// escapes and corner cases read as ECMAScript reads them: "\u4e00" is a code
// point, "[]" matches nothing, a reference to a group that did not take part
// matches the empty text, and without multi-line "$" is only the very end.
CodePtr compilePattern(const std::string& pattern, bool caseSensitive, bool multiline) {
    std::uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_ALT_BSUX | PCRE2_ALLOW_EMPTY_CLASS |
                            PCRE2_MATCH_UNSET_BACKREF | PCRE2_NEVER_BACKSLASH_C;
    options |= caseSensitive ? 0 : PCRE2_CASELESS;
    options |= multiline ? PCRE2_MULTILINE : PCRE2_DOLLAR_ENDONLY;
    CompileContextPtr context(pcre2_compile_context_create(nullptr));
    if (!context) {
        return nullptr;
    }
    // ECMAScript's line terminators, less the two Unicode separators.
    pcre2_set_newline(context.get(), PCRE2_NEWLINE_ANYCRLF);
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    return CodePtr(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options, &errorCode,
                                 &errorOffset, context.get()));
}

}  // namespace

bool RegexMatcher::execute(std::string_view pattern, std::string_view subject, bool caseSensitive, bool multiline,
                           bool global, bool quotePlaceholder) {
    pattern_.clear();
    subject_.clear();
    matches_.clear();
    std::string source = quotePlaceholder ? replaceQuotePlaceholders(pattern) : std::string(pattern);
    CodePtr code = compilePattern(source, caseSensitive, multiline);
    if (!code) {
        return false;
    }
    MatchDataPtr data(pcre2_match_data_create_from_pattern(code.get(), nullptr));
    if (!data) {
        return false;
    }
    std::uint32_t groupCount = 0;
    pcre2_pattern_info(code.get(), PCRE2_INFO_CAPTURECOUNT, &groupCount);

    const auto* text = reinterpret_cast<PCRE2_SPTR>(subject.data());
    std::vector<Match> found;
    std::size_t start = 0;
    while (start <= subject.size()) {
        const int result = pcre2_match(code.get(), text, subject.size(), start, 0, data.get(), nullptr);
        if (result == PCRE2_ERROR_NOMATCH) {
            break;
        }
        if (result < 0) {
            return false;  // the search itself failed, e.g. it hit the backtracking limit
        }
        const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(data.get());
        auto groupAt = [&](std::size_t index) {
            Group group;
            if (index < static_cast<std::size_t>(result) && offsets[2 * index] != PCRE2_UNSET) {
                group.text.assign(subject, offsets[2 * index], offsets[2 * index + 1] - offsets[2 * index]);
                group.position = static_cast<int>(offsets[2 * index]);
            }
            return group;
        };
        Match match{groupAt(0), {}};
        for (std::uint32_t g = 1; g <= groupCount; ++g) {
            match.groups.push_back(groupAt(g));
        }
        found.push_back(std::move(match));
        if (!global) {
            break;
        }
        // After an empty match the next search starts one character later.
        const std::size_t end = offsets[1];
        start = end > offsets[0] ? end : end + (end < subject.size() ? utf8StepAt(subject, end).length : 1);
    }
    pattern_ = std::move(source);
    subject_ = subject;
    matches_ = std::move(found);
    return true;
}

std::string RegexMatcher::pattern() const { return pattern_; }

std::string RegexMatcher::replace(std::string_view replacement) const {
    std::string result;
    std::size_t copied = 0;
    for (const Match& match : matches_) {
        const auto start = static_cast<std::size_t>(match.whole.position);
        result.append(subject_, copied, start - copied);
        std::vector<std::string_view> groups;
        for (const Group& group : match.groups) {
            groups.push_back(group.text);
        }
        appendEcmaReplacement(replacement, subject_, start, match.whole.text, groups, result);
        copied = start + match.whole.text.size();
    }
    result.append(subject_, copied);
    return result;
}

int RegexMatcher::matchCount() const { return static_cast<int>(matches_.size()); }

std::string RegexMatcher::matchText(int match, int* position) const {
    const bool exists = match >= 1 && match <= matchCount();
    const Group none;
    const Group& found = exists ? matches_[match - 1].whole : none;
    if (position != nullptr) {
        *position = found.position;
    }
    return found.text;
}

std::string RegexMatcher::subMatchText(int match, int group, int* position) const {
    const bool exists = match >= 1 && match <= matchCount() && group >= 1 &&
                        group <= static_cast<int>(matches_[match - 1].groups.size());
    const Group none;
    const Group& found = exists ? matches_[match - 1].groups[group - 1] : none;
    if (position != nullptr) {
        *position = found.position;
    }
    return found.text;
}

int RegexMatcher::subMatchCount() const {
    return matches_.empty() ? 0 : static_cast<int>(matches_.front().groups.size());
}
