#pragma once
// Request and response pieces that the three HTTP engines build alike.
#include <string>
#include <string_view>
#include <vector>

#include "net/CurlExchange.h"
#include "net/HttpClient.h"

// The method name of an HttpMethod code; codes out of range send GET.
std::string methodName(int methodCode);

// bodyBytes when not empty, otherwise the GBK bytes of bodyText.
std::string requestBody(const HttpRequest& request);

// Whether a body goes out with a Content-Length: always for POST and PUT,
// for other methods (except HEAD) only when there is one.
bool sendsBody(std::string_view method, std::string_view body);

// The lines of a CR LF separated header block, empty lines left out.
std::vector<std::string> headerBlockLines(std::string_view block);

// Basic credentials as their GBK bytes.
CurlCredentials gbkCredentials(std::string_view user, std::string_view password);

// True when the caller gave a cookie text: a non-empty one, or any text,
// even empty, that the caller marked as given.
bool cookiesSupplied(const HttpRequest& request, bool markedSupplied);

// The cookies set by the response head, merged with `sent` when `merge`.
std::string responseCookies(std::string_view headers, std::string_view sent, bool merge);
