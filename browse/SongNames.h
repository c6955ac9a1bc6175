#pragma once
// The names shown for queued songs: each song's title and first artist.
// Names learnt before are kept as they were; the others come from one
// request, and a song the answer lacks gets empty texts.
//
// Thread: `rowsFor` blocks on that request and may run on any thread;
// `client` must outlive the object.
#include "api/CloudRecords.h"

#include <map>
#include <string>
#include <vector>

class CloudApiClient;

class SongNames {
public:
    explicit SongNames(const CloudApiClient& client) : client_(client) {}

    // One row per id, in order; `named` holds the rows named before by id.
    std::vector<CoverItem> rowsFor(const std::vector<std::string>& ids,
                                   const std::map<std::string, CoverItem>& named) const;

private:
    const CloudApiClient& client_;
};
