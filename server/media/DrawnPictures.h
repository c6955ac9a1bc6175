#pragma once
// Cover pictures encoded once per picture, size and format and then served
// from memory, as a picture CDN serves its files: drawing and encoding a
// picture costs far more than sending it. Safe on any thread.
#include <cstddef>
#include <functional>
#include <list>
#include <mutex>
#include <string>
#include <unordered_map>

class DrawnPictures {
public:
    // The bytes kept for `key`, made by `draw` when there are none; the
    // pictures asked for longest ago go once more than `capacity` are kept.
    explicit DrawnPictures(std::size_t capacity = 2048) : capacity_(capacity) {}

    std::string obtain(const std::string& key, const std::function<std::string()>& draw);

private:
    const std::size_t capacity_;
    std::mutex mutex_;              // guards the two members below
    std::list<std::string> byUse_;  // keys, most recently asked for first
    std::unordered_map<std::string, std::pair<std::string, std::list<std::string>::iterator>> kept_;
};
