#pragma once
// The signature the service-cookie request carries: the MD5 digest of a
// one-character prefix (a build setting shared with the maker's host)
// followed by the 10-digit request timestamp.
#include <string>
#include <string_view>

// The MD5 digest of the bytes as 32 lowercase hexadecimal digits.
std::string md5Hex(std::string_view bytes);

// md5Hex(prefix + timestamp) with the prefix the program was built with.
std::string serviceCookieSignature(std::string_view timestamp);
