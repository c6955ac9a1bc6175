#pragma once
// Finds a needle in UTF-8 text so that a match never starts or ends inside a
// character. A character is a complete UTF-8 sequence (a lead byte followed by
// its continuation bytes); any other byte is a character of its own, so
// invalid input still has well-defined character boundaries.
#include <cstddef>
#include <string_view>

class TextSearch {
public:
    TextSearch(std::string_view text, std::string_view needle);

    // Position of the first whole-character match at or after `from`, or npos
    // (always npos for an empty needle). Successive calls on one search must
    // pass non-decreasing `from` values.
    std::size_t next(std::size_t from);

private:
    bool endsOnBoundary(std::size_t match) const;

    std::string_view text_;
    std::string_view needle_;
    // Where the needle's last character starts when its length depends on the
    // bytes that follow the needle in the text; needle_.size() otherwise.
    std::size_t undecidedTail_;
    // A character boundary of text_; it only moves forward.
    std::size_t boundary_ = 0;
};
