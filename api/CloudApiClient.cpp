#include "api/CloudApiClient.h"

CloudApiClient::CloudApiClient(ServiceHosts hosts, LocalClock clock)
    : hosts_(std::move(hosts)), clock_(std::move(clock)) {}

std::string CloudApiClient::requestTimestamp(TimestampForm form) const { return makeRequestTimestamp(clock_(), form); }
