#pragma once
// Properties every text, header and cookie routine must keep on any input.
#include <string>
#include <string_view>

// Runs the routines on the three inputs and returns a description of the
// first property that does not hold, or the empty text when all hold.
std::string checkTextRoutines(std::string_view text, std::string_view first, std::string_view second);
