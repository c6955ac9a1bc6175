#pragma once
// Streams a file as an HTTP answer with Content-Length; the server applies
// byte ranges ("Range: bytes=...") to it and answers 206 for them. A range
// that starts beyond the file is answered 416 here: the server library would
// otherwise send 206 with a length that wrapped around.
#include <httplib.h>

#include <string>

#include "server/media/MediaLibrary.h"

void sendFile(const httplib::Request& request, httplib::Response& response, const MediaFile& file,
              const std::string& contentType);
