#include "player/PlayMode.h"

#include <gtest/gtest.h>

namespace {

TEST(PlayModeTest, StoredTextsNameTheirModeExactly) {
    const struct {
        const char* text;
        std::optional<PlayMode> mode;
    } cases[] = {
        {"Circulate", PlayMode::Circulate}, {"List", PlayMode::List}, {"Random", PlayMode::Random},
        {"circulate", std::nullopt},        {"", std::nullopt},       {"List ", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parsePlayMode(c.text), c.mode) << c.text;
        if (c.mode) {
            EXPECT_STREQ(playModeName(*c.mode), c.text);
        }
    }
}

}  // namespace
