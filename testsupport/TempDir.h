#pragma once
// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes out of scope.
#include <filesystem>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The path of `name` inside the folder, as a UTF-8 string.
    std::string file(const std::string& name) const;

private:
    std::filesystem::path path_;
};
