#pragma once
// The service's album records: the list form of artist/album and album/newest,
// and the form of album searches.
#include "server/json/JsonContext.h"

Json albumJson(const JsonContext& context, const Album& album);
Json albumSearchJson(const JsonContext& context, const Album& album);
