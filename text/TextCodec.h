#pragma once
// Conversions between the program's UTF-8 text and the GBK (code page 936)
// and UTF-16LE byte forms that the settings file, GBK URL encoding and the
// toolkit font record need. Stateless and safe on any thread.
#include <string>
#include <string_view>

namespace TextCodec {

// GBK bytes to UTF-16LE. With the terminator the buffer ends in one zero unit;
// without it the buffer stops before the first zero unit. Empty in, empty out.
std::string gbkToUtf16(std::string_view gbk, bool withTerminator);

// UTF-16LE up to the first zero unit to GBK; what GBK cannot hold becomes "?".
std::string utf16ToGbk(std::string_view utf16);

// GBK bytes to UTF-8 bytes (no terminator). Undecodable bytes become U+FFFD.
std::string gbkToUtf8(std::string_view gbk);

// UTF-8 bytes to GBK; characters GBK cannot hold and invalid bytes become "?".
std::string utf8ToGbk(std::string_view utf8);

}  // namespace TextCodec
