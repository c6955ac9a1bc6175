#pragma once
// The picture engine's exchange on a given easy handle. HttpClient lends it
// a pooled handle so connections carry over between pictures.
#include <curl/curl.h>

#include "net/HttpClient.h"

// Runs `request` by the picture engine's rules on `handle` (fresh or reset).
HttpResponse executeRequestObjectOn(CURL* handle, const HttpRequest& request);
