#pragma once
// The picture engine with the session pool it draws on given. HttpClient's
// fetchPicture lends it the program's pool, so connections carry over
// between pictures; the benchmark compares that with no pool.
#include "net/CurlSession.h"
#include "net/HttpClient.h"

// Runs `request` by the picture engine's rules on a session from `pool`, or
// on a session of its own, closed afterwards, when `pool` is null.
HttpResponse fetchPictureWith(CurlSessionPool* pool, const HttpRequest& request, const PictureOptions& options = {});
