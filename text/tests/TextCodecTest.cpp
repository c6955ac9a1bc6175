#include "text/TextCodec.h"

#include <gtest/gtest.h>
#include <QStringDecoder>
#include <QStringEncoder>

#include <string>

namespace {

using namespace std::string_literals;

// Qt's ICU-backed converter for Windows code page 936 is an implementation
// independent of the iconv tables TextCodec uses.
constexpr const char* kReferenceCodePage = "windows-936";

bool isPrivateUse(char32_t c) { return c >= 0xE000 && c <= 0xF8FF; }

TEST(TextCodecTest, EveryTwoByteCodeDecodesLikeTheReferenceAndRoundTrips) {
    if (!QStringDecoder(kReferenceCodePage).isValid()) GTEST_SKIP() << "Qt built without ICU";
    int checked = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
            QStringDecoder reference(kReferenceCodePage);
            QString decoded = reference(QByteArray(code.data(), 2));
            char32_t c = decoded.isEmpty() ? 0 : decoded.at(0).unicode();
            // User-defined areas map to private-use characters that glibc's
            // table leaves out; they never occur in real text.
            if (decoded.size() != 1 || c == 0xFFFD || isPrivateUse(c)) continue;
            const std::string utf8 = decoded.toStdString();
            ASSERT_EQ(TextCodec::gbkToUtf8(code), utf8) << std::hex << lead << trail;
            ASSERT_EQ(TextCodec::utf8ToGbk(utf8), code) << std::hex << lead << trail;
            ++checked;
        }
    }
    EXPECT_GT(checked, 21000) << "the reference decoded too few codes to compare";
}

TEST(TextCodecTest, EveryBmpCharacterEncodesLikeTheReference) {
    if (!QStringEncoder(kReferenceCodePage).isValid()) GTEST_SKIP() << "Qt built without ICU";
    for (char32_t c = 1; c < 0x10000; ++c) {
        if ((c >= 0xD800 && c <= 0xDFFF) || isPrivateUse(c)) continue;
        QString character(QChar(static_cast<char16_t>(c)));
        QStringEncoder reference(kReferenceCodePage);
        QByteArray referenceBytes = reference(character);
        const std::string expected = reference.hasError() ? "?" : referenceBytes.toStdString();
        ASSERT_EQ(TextCodec::utf8ToGbk(character.toStdString()), expected) << std::hex << "U+" << unsigned(c);
    }
}

TEST(TextCodecTest, ConversionExamples) {
    struct Case {
        const char* what;
        std::string actual;
        std::string expected;
    };
    const Case cases[] = {
        {"ab with terminator", TextCodec::gbkToUtf16("ab", true), "a\0b\0\0\0"s},
        {"ab without terminator", TextCodec::gbkToUtf16("ab", false), "a\0b\0"s},
        {"empty with terminator", TextCodec::gbkToUtf16("", true), ""},
        {"text ends at a zero byte", TextCodec::gbkToUtf16("a\0b"s, true), "a\0\0\0"s},
        {"zhong to UTF-16", TextCodec::gbkToUtf16("\xD6\xD0", false), "\x2D\x4E"},
        {"UTF-16 up to the first zero unit", TextCodec::utf16ToGbk("\x2D\x4E\0\0a\0"s), "\xD6\xD0"},
        {"UTF-16 outside GBK", TextCodec::utf16ToGbk("\x5C\xD5"s), "?"},
        {"UTF-16 odd last byte ignored", TextCodec::utf16ToGbk("a\0b"s), "a"},
        {"0x80 is the euro sign", TextCodec::gbkToUtf8("\x80"), "€"},
        {"euro sign to 0x80", TextCodec::utf8ToGbk("€"), "\x80"},
        {"full-width space", TextCodec::utf8ToGbk("\u3000"), "\xA1\xA1"},
        {"emoji", TextCodec::utf8ToGbk("😀"), "?"},
        {"Korean", TextCodec::utf8ToGbk("한국"), "??"},
        {"mixed", TextCodec::utf8ToGbk("a中😀b"), "a\xD6\xD0?b"},
        {"invalid UTF-8 byte",
         TextCodec::utf8ToGbk("a\xFF"
                              "b"),
         "a?b"},
        {"lone GBK lead byte", TextCodec::gbkToUtf8("a\x81"), "a\xEF\xBF\xBD"},
        {"empty", TextCodec::utf8ToGbk(""), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.what;
}

}  // namespace
