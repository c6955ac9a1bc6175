#pragma once
// The service's user records in their three forms.
#include "server/json/JsonContext.h"

// "creator" of a playlist.
Json creatorJson(const JsonContext& context, const User& user);
// "profile" of user/account.
Json profileJson(const JsonContext& context, const User& user);
// "account" of user/account.
Json accountJson(const User& user);
// "data.user" of artist/detail.
Json artistUserJson(const JsonContext& context, const User& user);
