#pragma once
// A parsed JSON answer read by path expressions such as "result.songs[3].name".
// Missing values read as the empty text or zero; nothing ever throws.
#include <memory>
#include <string>
#include <string_view>

class JsonDocument {
public:
    JsonDocument();
    ~JsonDocument();
    // A second handle on the same tree; like the tree, used by one thread.
    JsonDocument(const JsonDocument&);
    JsonDocument& operator=(const JsonDocument&);

    // Parses UTF-8 JSON text. True when the root is an object or array (or
    // another non-null value); invalid text leaves every read empty. Nesting
    // deeper than 512 levels is invalid; ill-formed UTF-8 and half surrogate
    // pairs read back as U+FFFD.
    bool parse(std::string_view text);
    // Makes the root an empty object.
    void clear();
    // True when the path names a value that is not null.
    bool exists(std::string_view path) const;
    // The value as ECMAScript's String() would show it; empty when absent.
    std::string getText(std::string_view path) const;
    // The length of the array at the path; 0 for anything else.
    int count(std::string_view path) const;

private:
    struct Tree;
    std::shared_ptr<Tree> tree_;
};
