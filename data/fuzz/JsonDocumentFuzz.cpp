// Feeds JsonDocument mutated answers, damaged bytes, deep nesting and absurd
// paths for a bounded time, checking that nothing crashes and that the reads
// stay consistent with each other and with a plain nlohmann parse.
//   data_json_fuzz [seconds=10] [seed]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "data/JsonDocument.h"
#include "data/JsonNumberOverflow.h"
#include "data/JsonText.h"
#include "data/JsonTextRepair.h"
#include "data/Utf8Sequence.h"

namespace {

const std::vector<std::string> kSeeds = {
    R"({"code":200,"result":{"songCount":2,"songs":[{"id":1901371647,"name":"晴天","artists":[{"id":6452,"name":"周杰伦","alias":[]}],"album":{"id":2263164,"name":"叶惠美","picUrl":"http://p1.music.126.net/x.jpg","publishTime":1059580800000},"duration":269000,"fee":8,"mvid":0},{"id":5,"name":"A\\B","artists":[{"id":7,"name":"소녀시대 🎵"}],"album":{"id":8,"name":"ñ␀"},"duration":1.5e3}]}})",
    R"({"data":[{"id":12345678901234567890,"url":"http://m7.music.126.net/a.mp3","br":320000,"size":8123456,"code":200,"freeTrialInfo":null}],"code":200})",
    R"([1,-0,0.1,1e21,1e-7,-1.7976931348623157e308,5e-324,9007199254740993,true,false,null,"",[],{},[[[]]]])",
    R"({"lrc":{"version":3,"lyric":"[00:01.00]第一行\n[00:02.50]\u7b2c\u4e8c\u884c\r\n"},"tlyric":{"lyric":""},"code":200})",
    R"({"a":{"a":{"a":{"a":[{"b":"\ud83c\udfb5\"\\\/\b\f\n\r\t"}]}}},"a":1,"da":{"x":2}})",
};

const std::vector<std::string> kFragments = {
    "{",
    "}",
    "[",
    "]",
    ",",
    ":",
    "\"",
    "\\",
    "\\u",
    "\\ud83d",
    "\\udc00",
    "\\u0000",
    "1e999",
    "-0",
    "0.",
    "null",
    "true",
    "\xFF",
    "\xE4\xB8",
    "\xED\xA0\x80",
    "\xC0\xAF",
    "\xE2\x90\x80",
    std::string("\0", 1),
    "[[[[[[[[",
    "]]]]]]]]",
    "{\"a\":",
    "\"da\":",
    "12345678901234567890123",
    " ",
    "\r\n",
};

const std::vector<std::string> kNames = {"result", "songs", "id",   "name", "artists", "album", "data",  "da",
                                         "a",      "b",     "code", "lrc",  "lyric",   "",      "picUrl"};

bool isValidUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const Utf8Step step = utf8StepAt(text, pos);
        if (!step.valid) {
            return false;
        }
        pos += step.length;
    }
    return true;
}

class InputMaker {
public:
    explicit InputMaker(std::uint64_t seed) : random_(seed) {}

    std::string text() {
        const unsigned kind = below(20);
        if (kind == 0) {
            return deepNesting();
        }
        if (kind == 1) {
            return randomBytes(below(64));
        }
        std::string text = pick(kSeeds);
        const unsigned mutations = below(6);
        for (unsigned i = 0; i < mutations && !text.empty(); ++i) {
            mutate(text);
        }
        return text;
    }

    std::string path() {
        std::string path;
        const unsigned steps = below(6);
        for (unsigned i = 0; i < steps; ++i) {
            switch (below(8)) {
                case 0: path += "[" + std::to_string(below(4)) + "]"; break;
                case 1:
                    path += pick({"[", "]", "[-1]", "[99999999999]", "[184467440737095516170]", "..", "[a]", "[]",
                                  ".[0]", "\xFF"});
                    break;
                case 2: path += randomBytes(below(4)); break;
                default: path += (path.empty() || below(4) == 0 ? "" : ".") + pick(kNames); break;
            }
        }
        return path;
    }

private:
    unsigned below(unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(random_); }

    template <class List>
    std::string pick(const List& list) {
        return list.begin()[below(static_cast<unsigned>(list.size()))];
    }
    std::string pick(std::initializer_list<const char*> list) {
        return list.begin()[below(static_cast<unsigned>(list.size()))];
    }

    std::string randomBytes(unsigned count) {
        std::string bytes;
        for (unsigned i = 0; i < count; ++i) {
            bytes += static_cast<char>(below(256));
        }
        return bytes;
    }

    std::string deepNesting() {
        const std::size_t depth = below(2) == 0 ? 500 + below(30) : 1000 + below(100000);
        const bool objects = below(2) == 0;
        std::string text;
        for (std::size_t i = 0; i < depth; ++i) text += objects ? "{\"a\":" : "[";
        text += "1";
        for (std::size_t i = 0; i < depth; ++i) text += objects ? "}" : "]";
        return text;
    }

    void mutate(std::string& text) {
        const std::size_t at = below(static_cast<unsigned>(text.size()));
        switch (below(5)) {
            case 0: text[at] = static_cast<char>(below(256)); break;
            case 1: text.insert(at, pick(kFragments)); break;
            case 2: text.erase(at, below(16)); break;
            case 3: text.insert(at, text.substr(below(static_cast<unsigned>(text.size())), below(64))); break;
            default: text.resize(at); break;
        }
    }

    std::mt19937_64 random_;
};

[[noreturn]] void fail(const char* what, std::string_view text, std::string_view path) {
    std::fprintf(stderr, "FAILED: %s\npath: \"%.*s\"\ninput (%zu bytes, first 300 as hex):", what,
                 static_cast<int>(path.size()), path.data(), text.size());
    for (std::size_t i = 0; i < text.size() && i < 300; ++i) {
        std::fprintf(stderr, " %02x", static_cast<unsigned char>(text[i]));
    }
    std::fprintf(stderr, "\n");
    std::exit(1);
}

// Few enough brackets that the nesting limit cannot have been reached, and
// no zero byte (which nlohmann alone would take for the end of the text).
bool comparableWithPlainParse(std::string_view text) {
    std::size_t brackets = 0;
    for (char c : text) {
        if (c == '[' || c == '{') ++brackets;
        if (c == '\0') return false;
    }
    return brackets < 512;
}

void checkAgainstPlainParse(bool parsed, const JsonDocument& doc, std::string_view text) {
    if (!comparableWithPlainParse(text)) {
        return;
    }
    const auto plain = JsonValue::parse(text, nullptr, false);
    if (plain.is_discarded()) {
        if (parsed && !repairJsonText(text) && !markOverflowingNumbers(text)) {
            fail("accepted text that nlohmann rejects and that needed no mending", text, "");
        }
        return;
    }
    const bool expected = !plain.is_null() && !plain.is_string();
    if (parsed != expected) {
        fail("accepted/rejected differently from nlohmann", text, "");
    }
    if (parsed && doc.getText("") != jsonValueText(plain)) {
        fail("root text differs from nlohmann's tree", text, "");
    }
}

void checkPath(bool parsed, const JsonDocument& doc, std::string_view text, const std::string& path) {
    const std::string value = doc.getText(path);
    const int count = doc.count(path);
    const bool exists = doc.exists(path);
    if (!parsed && (!value.empty() || count != 0 || exists)) {
        fail("a failed parse left something readable", text, path);
    }
    if (!isValidUtf8(value)) {
        fail("getText returned invalid UTF-8", text, path);
    }
    if (count < 0 || (count > 0 && !exists)) {
        fail("count and exists disagree", text, path);
    }
    if (count > 0 && doc.exists(path + "[" + std::to_string(count) + "]")) {
        fail("an index past the end exists", text, path);
    }
    if (!exists && !value.empty()) {
        fail("an absent value has text", text, path);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    const std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20240601;
    InputMaker maker(seed);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    long inputs = 0, parsed = 0, paths = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string text = maker.text();
        JsonDocument doc;
        const bool ok = doc.parse(text);
        parsed += ok;
        checkAgainstPlainParse(ok, doc, text);
        for (int i = 0; i < 8; ++i, ++paths) {
            checkPath(ok, doc, text, maker.path());
        }
        ++inputs;
    }
    std::printf("JsonDocument fuzz: %ld inputs (%ld parsed), %ld paths, seed %llu: all clean\n", inputs, parsed, paths,
                static_cast<unsigned long long>(seed));
    return 0;
}
