#pragma once
// The update log the maker publishes: its entries and the heights the
// update-log window gives them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct UpdateLogEntry {
    std::string title;
    std::string content;  // lines separated by CR LF
};

// The members of the document's `data` array in order, each content's
// backslash-"n" pairs turned into CR LF. Empty when the text is not JSON or
// `data` has no member.
std::vector<UpdateLogEntry> parseUpdateLog(std::string_view text);

// The content's lines: split at CR LF, a bare LF or a bare CR alike. An
// empty content has no line.
std::vector<std::string_view> splitLogLines(std::string_view content);

// How tall the content is when wrapped to 350 pixels in 14-pixel lines, by a
// fixed-pitch estimate: characters from U+4E00 to U+9FA5 count 14 pixels,
// others 7 in a single line and 6 in a text of several lines.
std::int64_t estimateLogTextHeight(std::string_view content);

// The height of the content's list item: the estimate plus 80 for the title
// and margins, held to 0 .. 16 777 215.
int updateLogItemHeight(std::string_view content);
