#pragma once
// Whether a service request got an answer the program can read. Records read
// from a failed request are empty, exactly like records of an answer that
// listed nothing; the status tells the two apart for pages that show which
// one happened.
#include <string_view>

class JsonDocument;

enum class ServiceStatus {
    Answered,  // a 2xx answer holding JSON whose "code", where it has one, is 200
    Failed,    // no connection, a time-out, an error status, a body that is not
               // JSON, or a JSON answer whose "code" is not 200
};

// Judges one exchange: `statusLine` as the service engine gives it ("200 OK",
// or a numbered failure message), whether the body parsed as JSON, and the
// parsed answer.
ServiceStatus judgeServiceAnswer(std::string_view statusLine, bool parsedAsJson, const JsonDocument& answer);
