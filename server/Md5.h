#pragma once
// MD5 digests as 32 lower-case hexadecimal digits (OpenSSL's EVP interface).
#include <filesystem>
#include <optional>
#include <string>

std::string md5Hex(const std::string& bytes);
// The digest of a file's contents; nothing when the file cannot be read.
std::optional<std::string> md5HexOfFile(const std::filesystem::path& path);
