#pragma once
// The main window's colours and fonts: a light theme with a pink accent.
#include <QColor>
#include <QFont>
#include <string>

namespace Theme {

// Colours are 32-bit ARGB values.
constexpr QRgb kAccent = 0xFFF48FB1;          // the chosen toolbar page, highlights
constexpr QRgb kPageButtonText = 0xFE000000;  // toolbar pages not chosen
constexpr QRgb kCaption = 0xFF2D2D2D;         // list captions and headings
constexpr QRgb kSecondText = 0xFF808080;      // second lines of list items
constexpr QRgb kWindow = 0xFFFFFFFF;
constexpr QRgb kPanel = 0xFFF7F8FA;        // play bar and other raised strips
constexpr QRgb kHairline = 0xFFECEDF1;     // separators and panel borders
constexpr QRgb kHover = 0xFFF2F3F6;        // hovered buttons and list items
constexpr QRgb kPlaceholder = 0xFFEEF0F4;  // where a picture is missing
constexpr QRgb kInputBackground = 0xFFF3F4F7;

// The program's typeface. Where it is not installed the font falls back to
// another CJK sans-serif face, so Chinese text stays readable.
constexpr const char* kDefaultTypeface = "微软雅黑";

// `family` first, then the CJK fallbacks; size in pixels.
QFont font(const std::string& family, int pixelSize, QFont::Weight weight = QFont::Normal);
QFont font(int pixelSize, QFont::Weight weight = QFont::Normal);

// The style codes of the settings (0 normal, 1 bold, 2 italic, 3 bold
// italic, 4 underline, 5 underline bold) applied to a font.
QFont withStyleCode(QFont font, int styleCode);

}  // namespace Theme

// The typeface and style the settings choose for list captions; the lists
// build their fonts from it at the sizes they name.
struct TypefaceChoice {
    std::string typeface = Theme::kDefaultTypeface;
    int styleCode = 0;

    QFont font(int pixelSize) const { return Theme::withStyleCode(Theme::font(typeface, pixelSize), styleCode); }
};
