#include "base/AppSettings.h"
#include "base/StoredSettings.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

class StoredSettingsTest : public ::testing::Test {
protected:
    TempDir dir;
    AppSettings settings{dir.file("config.ini")};
};

TEST_F(StoredSettingsTest, DefaultsTurnIntoTheirValues) {
    settings.writeDefaults();
    StoredSettings s = readStoredSettings(settings);
    EXPECT_EQ(s.fillMode, 0);
    EXPECT_EQ(s.styleCode, 1);
    EXPECT_EQ(s.volume, 20);
    EXPECT_FALSE(s.muted);
    EXPECT_EQ(s.playMode, "Circulate");
    EXPECT_EQ(s.typeface, "微软雅黑");
    EXPECT_EQ(s.quality, "极高");
    EXPECT_EQ(s.color1, -1499549);
    EXPECT_EQ(s.color2, -10720320);
}

// The desktop lyrics lie on whatever the desktop shows: the default colours
// keep a contrast of at least 4 : 1 against black and against white (WCAG
// relative luminance), where pure blue on black would have 2.4.
TEST_F(StoredSettingsTest, DefaultLyricColoursReadOnDarkAndLightDesktops) {
    const auto luminance = [](std::int32_t argb) {
        const auto channel = [argb](int shift) {
            const double c = ((std::uint32_t(argb) >> shift) & 0xFF) / 255.0;
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(16) + 0.7152 * channel(8) + 0.0722 * channel(0);
    };
    settings.writeDefaults();
    const StoredSettings s = readStoredSettings(settings);
    for (std::int32_t colour : {s.color1, s.color2}) {
        const double l = luminance(colour);
        EXPECT_GE((l + 0.05) / 0.05, 4.0) << "on black: " << std::hex << colour;
        EXPECT_GE(1.05 / (l + 0.05), 4.0) << "on white: " << std::hex << colour;
    }
}

TEST_F(StoredSettingsTest, TextsThatMatchNoListedValueKeepTheDesignedState) {
    settings.write("Setting", "Gradual", "无渐变");  // the combo box caption, not a stored value
    settings.write("Setting", "Style", "bold");
    settings.write("Music", "Mode", "circulate");
    settings.write("Setting", "Color1", "red");
    StoredSettings s = readStoredSettings(settings);
    EXPECT_FALSE(s.fillMode.has_value());
    EXPECT_EQ(s.fillModeOrDefault(), 0);
    EXPECT_FALSE(s.styleCode.has_value());
    EXPECT_EQ(s.styleCodeOrDefault(), 0);
    EXPECT_EQ(s.playMode, "circulate") << "kept as stored, for the player to judge";
    EXPECT_FALSE(s.volume.has_value()) << "an empty Volume leaves the slider as designed";
    EXPECT_EQ(s.color1, 0);
}

TEST_F(StoredSettingsTest, EachListedTextMapsToItsCode) {
    struct Row {
        const char* section;
        const char* key;
        const char* text;
        int expected;
    };
    for (Row row : {Row{"Setting", "Gradual", "两色渐变", 1}, Row{"Setting", "Gradual", "三色渐变", 2},
                    Row{"Setting", "Style", "普通", 0}, Row{"Setting", "Style", "斜粗", 3},
                    Row{"Setting", "Style", "下划线加粗", 5}}) {
        settings.write(row.section, row.key, row.text);
        StoredSettings s = readStoredSettings(settings);
        std::string key = row.key;
        int actual = key == "Gradual" ? *s.fillMode : *s.styleCode;
        EXPECT_EQ(actual, row.expected) << row.key << "=" << row.text;
    }
}

TEST_F(StoredSettingsTest, VolumeZeroIsMutedAndColoursWrapToSigned32Bits) {
    settings.write("Music", "Volume", "0");
    settings.write("Setting", "Color2", "4294309365");
    StoredSettings s = readStoredSettings(settings);
    EXPECT_EQ(s.volume, 0);
    EXPECT_TRUE(s.muted);
    EXPECT_EQ(s.color2, static_cast<std::int32_t>(0xFFF5F5F5u));
}

}  // namespace
