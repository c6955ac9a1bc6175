#include "download/SongFileName.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr std::string_view kDotsAndSpaces = ". ";

bool isRefused(unsigned char c) {
    return c < 0x20 || c == 0x7F || std::string_view("/\\<>:\"|?*").find(char(c)) != std::string_view::npos;
}

bool isContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

std::string trimDotsAndSpaces(std::string text) {
    const size_t first = text.find_first_not_of(kDotsAndSpaces);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(kDotsAndSpaces) - first + 1);
}

// The first `limit` bytes of UTF-8 `text` at most, never half a character.
std::string cutAtCharacter(std::string text, size_t limit) {
    if (text.size() <= limit) return text;
    size_t end = limit;
    while (end > 0 && isContinuationByte(static_cast<unsigned char>(text[end]))) --end;
    text.resize(end);
    return text;
}

}  // namespace

std::string songFileExtension(std::string_view streamUrl) {
    return streamUrl.find("flac") != std::string_view::npos ? ".flac" : ".mp3";
}

std::string songFileName(const std::string& artist, const std::string& title, std::string_view streamUrl) {
    return safeFileName(artist + "-" + title, songFileExtension(streamUrl));
}

std::string localSongFileName(const std::string& artist, const std::string& title, std::string_view songPath) {
    constexpr size_t kLongestExtension = 8;
    const std::string_view name = songPath.substr(songPath.find_last_of('/') + 1);
    const size_t dot = name.find_last_of('.');
    std::string extension = dot == std::string_view::npos || dot == 0 ? "" : std::string(name.substr(dot));
    const bool plain = extension.size() > 1 && extension.size() <= kLongestExtension + 1 &&
                       std::all_of(extension.begin() + 1, extension.end(),
                                   [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
    if (!plain) extension.clear();
    for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
    return safeFileName(artist + "-" + title, extension);
}

std::string safeFileName(std::string_view stem, std::string_view extension) {
    std::string safe(stem);
    for (char& c : safe)
        if (isRefused(static_cast<unsigned char>(c))) c = '_';
    const size_t room = kMaxFileNameBytes > extension.size() ? kMaxFileNameBytes - extension.size() : 0;
    // Cutting can leave a dot or space at the end, so the trim comes after it.
    safe = trimDotsAndSpaces(cutAtCharacter(trimDotsAndSpaces(std::move(safe)), room));
    if (safe.empty()) safe = "_";
    return safe + std::string(extension);
}
