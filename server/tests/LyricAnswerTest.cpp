// Lyric answers keep the service's member order, so the client's cut of the
// raw text finds the lyric, and cover the lyric forms the client handles.
#include "ServerTestSupport.h"

namespace {

// The client's raw cut: between the first `lyric":"` and the end marker.
std::string cut(const std::string& raw, const std::string& endMarker) {
    const std::string start = "lyric\":\"";
    const std::size_t from = raw.find(start);
    if (from == std::string::npos) return {};
    const std::size_t to = raw.find(endMarker, from + start.size());
    if (to == std::string::npos) return {};
    return raw.substr(from + start.size(), to - from - start.size());
}

// The bytes of "音乐，请" without the first byte of 音, and the first byte of 欣.
const std::string kPureMusicMarker = "\x9F\xB3\xE4\xB9\x90\xEF\xBC\x8C\xE8\xAF\xB7\xE6";

}  // namespace

class LyricAnswerTest : public ServerTest {
protected:
    std::string rawLyric(Id songId) {
        auto result = get("/lyric?id=" + std::to_string(songId));
        EXPECT_TRUE(result);
        return result ? result->body : std::string();
    }
};

TEST_F(LyricAnswerTest, TimedLyricIsCutUpToKlyricAndTranslationOpensWithACredit) {
    const std::string raw = rawLyric(1900001001);
    EXPECT_LT(raw.find("\"lrc\""), raw.find("\"klyric\""));
    EXPECT_LT(raw.find("\"klyric\""), raw.find("\"tlyric\""));
    EXPECT_EQ(raw.find(kPureMusicMarker), std::string::npos);
    const std::string lyric = cut(raw, "\"},\"klyric\":{\"version");
    EXPECT_TRUE(lyric.starts_with("[00:00.00]")) << lyric;
    EXPECT_NE(lyric.find("\\n[00:"), std::string::npos);  // still JSON-escaped

    const Json json = Json::parse(raw);
    const std::string translation = json["tlyric"]["lyric"];
    const std::string firstLine = translation.substr(0, translation.find('\n'));
    EXPECT_EQ(firstLine.find("00:"), std::string::npos) << firstLine;
    // Every translated line carries the same tag as its lyric line.
    const std::string lrc = json["lrc"]["lyric"];
    EXPECT_NE(lrc.find("[00:01.00]"), std::string::npos);
    EXPECT_NE(translation.find("[00:01.00]"), std::string::npos);
}

TEST_F(LyricAnswerTest, OneLineCarriesTwoTags) {
    const Json json = Json::parse(rawLyric(1900001021));
    const std::string lrc = json["lrc"]["lyric"];
    EXPECT_NE(lrc.find("]["), std::string::npos) << lrc;
}

TEST_F(LyricAnswerTest, PureMusicIsCutUpToCode) {
    const std::string raw = rawLyric(1900001020);
    EXPECT_NE(raw.find(kPureMusicMarker), std::string::npos);
    EXPECT_EQ(cut(raw, "\"},\"code"), "[99:00.00]纯音乐，请欣赏\\n");
}

TEST_F(LyricAnswerTest, UntimedAndMissingLyrics) {
    const Json untimed = Json::parse(rawLyric(1900001015));
    EXPECT_FALSE(untimed["lrc"]["lyric"].get<std::string>().empty());
    EXPECT_EQ(untimed["lrc"]["lyric"].get<std::string>().find('['), std::string::npos);
    EXPECT_EQ(untimed["tlyric"]["lyric"], "");

    for (Id id : {1900001035LL, 5LL}) {
        const std::string raw = rawLyric(id);
        EXPECT_EQ(raw.find("\"lrc\""), std::string::npos) << raw;
        EXPECT_EQ(cut(raw, "\"},\"klyric\":{\"version"), "");
    }
}
