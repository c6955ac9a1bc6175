#pragma once
// The service's MV records in the forms its answers use.
#include <cstdint>

#include "server/json/JsonContext.h"
#include "server/media/MediaLibrary.h"

// Members of mv/first and mv/all.
Json mvListJson(const JsonContext& context, const Mv& mv);
// A member of personalized/mv's "result".
Json personalizedMvJson(const JsonContext& context, const Mv& mv);
// A member of artist/mv's "mvs".
Json artistMvJson(const JsonContext& context, const Mv& mv);
// "data" of mv/url; url null when the video file is missing.
Json mvUrlJson(const JsonContext& context, const Mv& mv, const MediaFile* video, std::int64_t unixSeconds);
