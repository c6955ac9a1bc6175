#pragma once
// A 5 x 7 pixel font for the captions drawn on generated pictures: upper-case
// Latin letters, digits and a little punctuation. Lower-case letters are drawn
// upper-case and every other character as "?".
#include <string>

#include "server/media/Canvas.h"

namespace BitmapFont {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;
inline constexpr int kAdvance = 6;  // glyph width plus one column of spacing

// Width in pixels of `text` drawn at `scale` (no trailing spacing).
int textWidth(const std::string& text, int scale);

// Draws `text` with its top-left corner at (left, top), each font pixel a
// scale x scale square.
void drawText(Canvas& canvas, const std::string& text, int left, int top, int scale, Rgb colour);

}  // namespace BitmapFont
