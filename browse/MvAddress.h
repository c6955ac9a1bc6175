#pragma once
// Where an MV streams from, as a feed of one address: asking for another MV
// supersedes the request for the one before, whose answer is dropped.
//
// Lives on the UI thread, like its feed; `client` must outlive it.
#include "browse/Feed.h"

#include <string>

class CloudApiClient;

class MvAddress {
public:
    explicit MvAddress(const CloudApiClient& client) : client_(client) {}

    // Holds the stream URL once its request ended ("null" or empty when the
    // service named none).
    Feed<std::string>& feed() { return feed_; }
    BackgroundTask::Handle load(const std::string& mvId);

private:
    const CloudApiClient& client_;
    Feed<std::string> feed_;
};
