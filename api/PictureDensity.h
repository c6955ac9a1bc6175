#pragma once
// The service draws a picture at the size its URL's "param=WyH" (or "WxH")
// asks for. On a dense screen the same picture is asked for at the screen's
// pixels, so it is never an upscaled small bitmap.
#include <string>

// `url` with its size parameter multiplied by `devicePixelRatio` (rounded
// up); unchanged at a ratio of 1 or below, or without a well-formed size.
std::string pictureUrlForDensity(const std::string& url, double devicePixelRatio);
