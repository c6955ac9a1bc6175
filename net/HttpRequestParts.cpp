#include "net/HttpRequestParts.h"

#include <array>

#include "net/HeaderUtils.h"
#include "text/TextCodec.h"
#include "text/TextUtils.h"

std::string methodName(int methodCode) {
    static constexpr std::array<const char*, 8> kNames{"GET",     "POST",   "HEAD",  "PUT",
                                                       "OPTIONS", "DELETE", "TRACE", "CONNECT"};
    return methodCode >= 0 && methodCode < static_cast<int>(kNames.size()) ? kNames[methodCode] : "GET";
}

std::string requestBody(const HttpRequest& request) {
    return request.bodyBytes.empty() ? TextCodec::utf8ToGbk(request.bodyText) : request.bodyBytes;
}

bool sendsBody(std::string_view method, std::string_view body) {
    return method == "POST" || method == "PUT" || (method != "HEAD" && !body.empty());
}

std::vector<std::string> headerBlockLines(std::string_view block) {
    std::vector<std::string> lines = splitText(block, "\r\n");
    std::erase_if(lines, [](const std::string& line) { return line.empty(); });
    return lines;
}

CurlCredentials gbkCredentials(std::string_view user, std::string_view password) {
    return {TextCodec::utf8ToGbk(user), TextCodec::utf8ToGbk(password)};
}

bool cookiesSupplied(const HttpRequest& request, bool markedSupplied) {
    return markedSupplied || !request.cookies.empty();
}

std::string responseCookies(std::string_view headers, std::string_view sent, bool merge) {
    std::string received = collectSetCookies(headers);
    return merge ? mergeCookies(sent, received) : received;
}
