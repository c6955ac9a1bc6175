#include "data/JsonDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TextCase {
    const char* json;
    const char* path;
    const char* text;
};

TEST(JsonDocumentTest, GetTextShowsValuesAsEcmaScriptStringDoes) {
    const TextCase cases[] = {
        // strings, booleans, null, containers
        {R"({"result":{"songs":[{"id":5,"name":"A"}]}})", "result.songs[0].name", "A"},
        {R"({"result":{"songs":[{"id":5,"name":"A"}]}})", "result.songs[0].id", "5"},
        {R"({"result":{"songs":[{"id":5,"name":"A"}]}})", "result.songs", "[object Object]"},
        {R"({"result":{"songs":[{"id":5,"name":"A"}]}})", "result", "[object Object]"},
        {R"({"a":true,"b":false})", "a", "true"},
        {R"({"a":true,"b":false})", "b", "false"},
        {R"({"a":null})", "a", ""},
        {R"({"a":""})", "a", ""},
        {R"({"name":"周杰伦 & 소녀시대 ñ 🎵"})", "name", "周杰伦 & 소녀시대 ñ 🎵"},
        {R"({"name":"\u5468\ud83c\udfb5"})", "name", "周🎵"},
        // numbers: shortest round trip, exponent outside [1e-6, 1e21)
        {R"({"n":1.0})", "n", "1"},
        {R"({"n":-0.0})", "n", "0"},
        {R"({"n":0.1})", "n", "0.1"},
        {R"({"n":2.5})", "n", "2.5"},
        {R"({"n":1234567})", "n", "1234567"},
        {R"({"n":-42})", "n", "-42"},
        {R"({"n":12345678901234567890})", "n", "12345678901234567000"},
        {R"({"n":-9223372036854775807})", "n", "-9223372036854776000"},
        {R"({"n":9007199254740993})", "n", "9007199254740992"},
        {R"({"n":1e21})", "n", "1e+21"},
        {R"({"n":123456789012345678901234})", "n", "1.2345678901234569e+23"},
        {R"({"n":1e20})", "n", "100000000000000000000"},
        {R"({"n":0.000001})", "n", "0.000001"},
        {R"({"n":1e-7})", "n", "1e-7"},
        {R"({"n":1.5e300})", "n", "1.5e+300"},
        // arrays: joined with ",", nested arrays flattened
        {R"({"a":[1,"x",true,null,[2,[3,4]],{"k":1},[]]})", "a", "1,x,true,,2,3,4,[object Object],"},
        {R"({"a":[]})", "a", ""},
        {R"({"a":[[]]})", "a", ""},
        {R"({"a":[null]})", "a", ""},
        // U+2400 stands for a backslash; an escaped backslash is one backslash
        {R"({"p":"C:␀x␀y"})", "p", R"(C:\x\y)"},
        {"{\"p\":\"a\xE2\x90\x80"
         "b\"}",
         "p", "a\\b"},
        {"{\"p\":[\"\xE2\x90\x80\",\"\xE2\x90\x80\xE2\x90\x80\"]}", "p", "\\,\\\\"},
        {R"({"p":"a\\b"})", "p", "a\\b"},
        {R"({"p":"\"q\"\n"})", "p", "\"q\"\n"},
        // duplicate names: first position, last value
        {R"({"a":1,"a":2})", "a", "2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.json) + " @ " + c.path);
        JsonDocument doc;
        ASSERT_TRUE(doc.parse(c.json));
        EXPECT_EQ(doc.getText(c.path), c.text);
    }
}

TEST(JsonDocumentTest, PathsFollowNamesIndicesAndTheDocumentName) {
    JsonDocument doc;
    ASSERT_TRUE(doc.parse(R"({
        "code": 200,
        "data": [{"url": "http://x/1.mp3"}, {"url": "http://x/2.mp3"}],
        "result": {"songs": [{"artists": [{"name": "a0"}, {"name": "a1"}]}]},
        "m": [[10, 11], [20, [30, 31]]],
        "Code": 7,
        "da": {"only": "inner"},
        "dots.x": 1,
        "": "empty name"
    })"));
    const std::pair<const char*, const char*> cases[] = {
        {"code", "200"},
        {"Code", "7"},
        {"data[0].url", "http://x/1.mp3"},  // starts with "da" but is relative
        {"data[1].url", "http://x/2.mp3"},
        {"result.songs[0].artists[1].name", "a1"},
        {"m[1][1][0]", "30"},
        {"m[0]", "10,11"},
        {"da.code", "200"},  // the name spelled out
        {"da.data[1].url", "http://x/2.mp3"},
        {"da.only", "inner"},  // not below the root, so "da" is a member name
        {"da", "[object Object]"},
        {"CODE", ""},
        {"result.songs[1].name", ""},
        {"code.x", ""},
        {"code[0]", ""},
        {"data.url", ""},
        {"data[00].url", "http://x/1.mp3"},
        {"data[2]", ""},
        {"data[-1]", ""},
        {"data[99999999999]", ""},
        {"data[184467440737095516160]", ""},
        {"data[1", ""},
        {"data[]", ""},
        {"data[a]", ""},
        {"data[0]url", ""},
        {"data[0].", ""},
        {"[", ""},
        {"]", ""},
        {".", ""},
        {"..", ""},
        {".code", ""},
        {"code..x", ""},
        {"code]", ""},
        {"dots.x", ""},
        {"da.", ""},
        {"da..code", ""},
    };
    for (const auto& [path, text] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(doc.getText(path), text);
    }
}

TEST(JsonDocumentTest, ALeadingIndexAndTheEmptyPathAddressTheRoot) {
    JsonDocument doc;
    ASSERT_TRUE(doc.parse(R"([{"id":1},{"id":2},[3,4]])"));
    EXPECT_EQ(doc.count(""), 3);
    EXPECT_EQ(doc.getText("[1].id"), "2");
    EXPECT_EQ(doc.getText("[2][1]"), "4");
    EXPECT_EQ(doc.getText("da[1].id"), "2");
    EXPECT_EQ(doc.getText("da.[1].id"), "");
    EXPECT_EQ(doc.count("[2]"), 2);
    EXPECT_EQ(doc.getText(""), "[object Object],[object Object],3,4");
    EXPECT_EQ(doc.getText("id"), "");
}

TEST(JsonDocumentTest, CountIsTheArrayLengthAndZeroForEverythingElse) {
    JsonDocument doc;
    ASSERT_TRUE(doc.parse(R"({"a":[1,2,3],"e":[],"o":{"x":1},"s":"abc","n":null,"k":5})"));
    const std::pair<const char*, int> cases[] = {
        {"a", 3}, {"e", 0}, {"o", 0}, {"s", 0}, {"n", 0}, {"k", 0}, {"missing", 0}, {"missing.a", 0}, {"", 0},
    };
    for (const auto& [path, count] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(doc.count(path), count);
    }
}

TEST(JsonDocumentTest, ExistsMeansNeitherNullNorAbsent) {
    JsonDocument doc;
    ASSERT_TRUE(doc.parse(R"({"a":0,"b":"","c":null,"d":false,"e":[]})"));
    const std::pair<const char*, bool> cases[] = {
        {"a", true}, {"b", true}, {"c", false}, {"d", true}, {"e", true}, {"f", false}, {"", true}, {"e[0]", false},
    };
    for (const auto& [path, exists] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(doc.exists(path), exists);
    }
}

TEST(JsonDocumentTest, ParseAcceptsNonNullValuesAndRejectsTheRest) {
    const std::pair<std::string, bool> cases[] = {
        {"[1,2]", true},
        {"{}", true},
        {"42", true},
        {"false", true},
        {" \r\n{\"a\":1}\t", true},
        {"\xEF\xBB\xBF{\"a\":1}", true},  // byte order mark
        {"\"text\"", false},
        {"null", false},
        {"{", false},
        {"", false},
        {"{\"a\":1} x", false},
        {"{'a':1}", false},
        {"{a:1}", false},
        {"[1,]", false},
        {"NaN", false},
        {std::string("{\"a\":\"x\0y\"}", 11), false},
        {std::string("{\"a\":1}\0", 8), false},
    };
    for (const auto& [text, accepted] : cases) {
        SCOPED_TRACE(text);
        JsonDocument doc;
        EXPECT_EQ(doc.parse(text), accepted);
    }
}

TEST(JsonDocumentTest, AFailedParseLeavesEveryReadEmpty) {
    for (const char* text : {"{", "\"text\"", "null"}) {
        SCOPED_TRACE(text);
        JsonDocument doc;
        ASSERT_TRUE(doc.parse(R"({"a":[1,2],"b":"x"})"));
        EXPECT_FALSE(doc.parse(text));
        EXPECT_EQ(doc.getText("b"), "");
        EXPECT_EQ(doc.getText(""), "");
        EXPECT_EQ(doc.count("a"), 0);
        EXPECT_FALSE(doc.exists(""));
        EXPECT_FALSE(doc.exists("da"));
        // and the document stays usable
        EXPECT_TRUE(doc.parse(R"({"b":"y"})"));
        EXPECT_EQ(doc.getText("b"), "y");
    }
}

TEST(JsonDocumentTest, ANewOrClearedDocumentIsAnEmptyObject) {
    JsonDocument doc;
    EXPECT_EQ(doc.getText(""), "[object Object]");
    EXPECT_TRUE(doc.exists(""));
    ASSERT_TRUE(doc.parse("[1]"));
    doc.clear();
    EXPECT_EQ(doc.getText(""), "[object Object]");
    EXPECT_EQ(doc.count(""), 0);
}

TEST(JsonDocumentTest, CopiesShareOneTreeThatOutlivesTheOriginal) {
    JsonDocument copy;
    {
        JsonDocument original;
        ASSERT_TRUE(original.parse(R"({"a":"1"})"));
        copy = original;
        JsonDocument second(original);
        ASSERT_TRUE(second.parse(R"({"a":"2"})"));
        EXPECT_EQ(original.getText("a"), "2");
    }
    EXPECT_EQ(copy.getText("a"), "2");
}

TEST(JsonDocumentTest, DamagedTextReadsWithReplacementCharacters) {
    const TextCase cases[] = {
        {"{\"t\":\"a\xFF"
         "b\",\"n\":1}",
         "t",
         "a\xEF\xBF\xBD"
         "b"},
        {"{\"t\":\"a\xE4\xB8\",\"n\":1}", "t", "a\xEF\xBF\xBD"},                    // cut inside a character
        {"{\"t\":\"\xC0\xAF\"}", "t", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // overlong form
        {"{\"t\":\"\xED\xA0\x80\"}", "t", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // encoded surrogate
        {R"({"t":"x\ud83d"})", "t", "x\xEF\xBF\xBD"},                               // half a pair
        {R"({"t":"\udc00y"})", "t", "\xEF\xBF\xBDy"},
        {R"({"t":"\ud83d\ud83d\ude00"})", "t", "\xEF\xBF\xBD😀"},
        {R"({"t":"\\ud83d"})", "t", "\\ud83d"},  // an escaped backslash, not an escape
        {"{\"t\":\"\\\\\xFF\"}", "t", "\\\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        JsonDocument doc;
        ASSERT_TRUE(doc.parse(c.json));
        EXPECT_EQ(doc.getText(c.path), c.text);
    }
    JsonDocument doc;
    EXPECT_FALSE(doc.parse("{\"t\":\"\xFF\"")) << "repair must not make bad JSON valid";
}

TEST(JsonDocumentTest, NestingBeyondTheLimitIsInvalidWithoutExhaustingTheStack) {
    const auto nested = [](int depth) {
        return std::string(static_cast<std::size_t>(depth), '[') + "1" +
               std::string(static_cast<std::size_t>(depth), ']');
    };
    JsonDocument doc;
    EXPECT_TRUE(doc.parse(nested(512)));
    EXPECT_EQ(doc.getText(""), "1");
    EXPECT_FALSE(doc.parse(nested(513)));
    EXPECT_FALSE(doc.parse(nested(100000)));
    std::string objects;
    for (int i = 0; i < 100000; ++i) objects += "{\"a\":";
    EXPECT_FALSE(doc.parse(objects + "1" + std::string(100000, '}')));
    EXPECT_EQ(doc.getText(""), "");
}

TEST(JsonDocumentTest, WideObjectsKeepFirstPositionAndLastValueOfRepeatedNames) {
    // Large enough to use the builder's key index rather than a linear search.
    std::string text = "{";
    for (int i = 0; i < 1000; ++i) {
        text += "\"k" + std::to_string(i) + "\":" + std::to_string(i) + ",";
    }
    text += "\"k7\":\"again\",\"k999\":\"last\",\"list\":[1,2]}";
    JsonDocument doc;
    ASSERT_TRUE(doc.parse(text));
    EXPECT_EQ(doc.getText("k7"), "again");
    EXPECT_EQ(doc.getText("k999"), "last");
    EXPECT_EQ(doc.getText("k500"), "500");
    EXPECT_EQ(doc.count("list"), 2);
}

}  // namespace

// ECMAScript reads a number beyond the double range as an infinity; the rest
// of the answer stays as it was, strings that merely look like such numbers
// included.
TEST(JsonDocumentTest, NumbersBeyondTheDoubleRangeReadAsInfinity) {
    const TextCase cases[] = {
        {R"({"a":1e400,"b":"x"})", "a", "Infinity"},
        {R"({"a":1e400,"b":"x"})", "b", "x"},
        {R"({"a":[-1E+400,2]})", "a[0]", "-Infinity"},
        {R"({"a":[-1E+400,2]})", "a[1]", "2"},
        {R"({"a":1e400,"s":"1e400 \" 1e400"})", "s", "1e400 \" 1e400"},
        {R"({"n":123456789012345678901234567890e300})", "n", "Infinity"},
        {R"({"n":1e-400,"m":1e400})", "n", "0"},
        {R"({"n":1e-400,"m":1e400})", "m", "Infinity"},
        {R"({"n":1.7976931348623157e308})", "n", "1.7976931348623157e+308"},
        {"{\"a\":1e400,\"t\":\"\xE5\x91\xA8\xFF\"}", "t", "周\xEF\xBF\xBD"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.json);
        JsonDocument doc;
        ASSERT_TRUE(doc.parse(c.json));
        EXPECT_EQ(doc.getText(c.path), c.text);
    }
    JsonDocument doc;
    EXPECT_FALSE(doc.parse("{\"a\":1e400,}")) << "other faults still fail";
}
