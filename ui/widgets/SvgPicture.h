#pragma once
// The vector pictures drawn for this program (the artwork and the play bar's
// icons): an SVG document rendered into an image of any size, sharp at the
// screen's device pixel ratio.
#include <QImage>
#include <QSize>
#include <string>
#include <string_view>

namespace SvgPicture {

// An SVG document of `body` on a `viewWidth` × `viewHeight` drawing area.
std::string document(int viewWidth, int viewHeight, std::string_view body);

// The drawing stretched over an image of `logicalSize` device-independent
// pixels: it holds logicalSize × devicePixelRatio pixels, transparent where
// nothing is drawn, and carries that ratio. Null for an empty size or a
// ratio of 0 or less.
QImage render(const std::string& svg, QSize logicalSize, qreal devicePixelRatio);

}  // namespace SvgPicture
