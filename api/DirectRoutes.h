#pragma once
// The route table of the service's own web API: for each request of the
// client, the service URI, the wrapping it is sent in and its parameters,
// as the open-source API server (NeteaseCloudMusicApi 4.32.0) sends them for
// the matching path. Query values keep the types a query string gives them:
// texts, unless the table puts a number or a flag in their place.
#include "api/ServiceCall.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

enum class CipherForm { Weapi, Eapi, Linuxapi };

struct DirectRequest {
    std::string uri;  // "/api/..."
    CipherForm form = CipherForm::Eapi;
    nlohmann::ordered_json params = nlohmann::ordered_json::object();
    bool antiCheatToken = false;  // the eapi header carries the anti-cheat token
};

// The song qualities the service offers, lowest first.
inline const std::vector<std::string> kSongLevels = {"standard", "higher", "exhigh", "lossless"};

// The one service request of the call. The routes the transport composes or
// answers itself (playlist tracks, QR URL) get the first request they make.
DirectRequest directRequest(const ServiceCall& call);

// Song details of the ids, in order, in `form`.
DirectRequest songDetailRequest(const std::vector<std::string>& ids, CipherForm form);
// The stream URL of the song at `level`.
DirectRequest songUrlRequest(const std::string& id, const std::string& level);
// The visitor registration of `deviceId`.
DirectRequest anonymousRegistration(const std::string& deviceId);
