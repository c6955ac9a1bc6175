#include "text/TextSearch.h"

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Length a sequence starting with `lead` has when it is valid.
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 1;
}

// Length in bytes of the character that starts at `at` (at < text.size()).
std::size_t utf8CharacterLength(std::string_view text, std::size_t at) {
    std::size_t length = sequenceLength(static_cast<unsigned char>(text[at]));
    if (length > text.size() - at) return 1;
    for (std::size_t i = 1; i < length; ++i)
        if (!isContinuation(static_cast<unsigned char>(text[at + i]))) return 1;
    return length;
}

}  // namespace

TextSearch::TextSearch(std::string_view text, std::string_view needle)
    : text_(text), needle_(needle), undecidedTail_(needle.size()) {
    // Characters that lie wholly inside the needle split the same way in the
    // text, because there they consist of the same bytes.
    std::size_t at = 0;
    while (at < needle.size()) {
        if (sequenceLength(static_cast<unsigned char>(needle[at])) > needle.size() - at) {
            undecidedTail_ = at;
            break;
        }
        at += utf8CharacterLength(needle, at);
    }
}

bool TextSearch::endsOnBoundary(std::size_t match) const {
    std::size_t end = match + needle_.size();
    std::size_t at = match + undecidedTail_;
    while (at < end) at += utf8CharacterLength(text_, at);
    return at == end;
}

std::size_t TextSearch::next(std::size_t from) {
    if (needle_.empty()) return std::string_view::npos;
    for (std::size_t candidate = text_.find(needle_, from); candidate != std::string_view::npos;
         candidate = text_.find(needle_, candidate + 1)) {
        while (boundary_ < candidate) boundary_ += utf8CharacterLength(text_, boundary_);
        if (boundary_ == candidate && endsOnBoundary(candidate)) return candidate;
    }
    return std::string_view::npos;
}
