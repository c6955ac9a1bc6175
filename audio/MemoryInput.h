#pragma once
// An FFmpeg byte source reading a block of memory from `offset` on, for
// streams made from bytes the caller already holds. Used by one decode
// thread only.
#include <cstdint>
#include <memory>
#include <string>

struct AVIOContext;

class MemoryInput {
public:
    MemoryInput(std::shared_ptr<const std::string> bytes, int64_t offset);
    ~MemoryInput();
    MemoryInput(const MemoryInput&) = delete;
    MemoryInput& operator=(const MemoryInput&) = delete;

    // nullptr when FFmpeg could not allocate the context.
    AVIOContext* context() const { return context_; }

private:
    int64_t size() const { return static_cast<int64_t>(bytes_->size()) - offset_; }
    static int read(void* opaque, uint8_t* buffer, int size);
    static int64_t seek(void* opaque, int64_t offset, int whence);

    std::shared_ptr<const std::string> bytes_;
    int64_t offset_;        // where the visible data starts in `bytes_`
    int64_t position_ = 0;  // from `offset_`
    AVIOContext* context_ = nullptr;
};
