#include "server/HttpHelpers.h"

#include <cctype>
#include <charconv>

void replyJson(httplib::Response& response, const Json& json) {
    // Texts taken from requests may hold broken UTF-8; answer it replaced, never fail.
    response.set_content(json.dump(-1, ' ', false, Json::error_handler_t::replace), "application/json; charset=utf-8");
}

std::string escapeHtml(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

void replyHtml(httplib::Response& response, int status, const std::string& title, const std::string& bodyHtml) {
    response.status = status;
    response.set_content("<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\"><title>" +
                             escapeHtml(title) +
                             "</title><style>body{margin:0;background:#111;color:#eee;font-family:sans-serif;"
                             "display:flex;flex-direction:column;align-items:center;justify-content:center;"
                             "min-height:100vh}video{max-width:96vw;max-height:86vh;background:#000}</style>"
                             "</head><body>" +
                             bodyHtml + "</body></html>\n",
                         "text/html; charset=utf-8");
}

std::string requestOrigin(const httplib::Request& request, const std::string& fallbackHostPort) {
    const std::string host = request.get_header_value("Host");
    const bool plausible = !host.empty() && host.size() < 256 && std::all_of(host.begin(), host.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == ':' || c == '[' || c == ']';
    });
    return "http://" + (plausible ? host : fallbackHostPort);
}

std::optional<long long> parseInteger(const std::string& text) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::optional<long long> integerParam(const httplib::Request& request, const std::string& key) {
    const std::optional<std::string> value = queryValue(request, key);
    return value ? parseInteger(*value) : std::nullopt;
}

namespace {

std::string queryOf(const httplib::Request& request) {
    const std::size_t question = request.target.find('?');
    return question == std::string::npos ? std::string() : request.target.substr(question + 1);
}

std::string decodeEscapes(const std::string& raw, bool plusIsSpace) {
    std::string decoded;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        int byte = 0;
        if (raw[i] == '%' && i + 2 < raw.size() &&
            std::from_chars(raw.data() + i + 1, raw.data() + i + 3, byte, 16).ptr == raw.data() + i + 3) {
            decoded.push_back(static_cast<char>(byte));
            i += 2;
        } else {
            decoded.push_back(plusIsSpace && raw[i] == '+' ? ' ' : raw[i]);
        }
    }
    return decoded;
}

// Where "key=" starts a query member: at the start or after an "&".
std::size_t memberStart(const std::string& query, const std::string& key) {
    const std::string wanted = key + "=";
    for (std::size_t at = query.find(wanted); at != std::string::npos; at = query.find(wanted, at + 1)) {
        if (at == 0 || query[at - 1] == '&') return at;
    }
    return std::string::npos;
}

}  // namespace

std::optional<std::string> queryValue(const httplib::Request& request, const std::string& key) {
    const std::string query = queryOf(request);
    const std::size_t at = memberStart(query, key);
    if (at == std::string::npos) return std::nullopt;
    const std::size_t from = at + key.size() + 1;
    const std::size_t to = query.find('&', from);
    return decodeEscapes(query.substr(from, to == std::string::npos ? std::string::npos : to - from), true);
}

std::string queryText(const httplib::Request& request, const std::string& key) {
    return queryValue(request, key).value_or(std::string());
}

std::string rawQueryTail(const httplib::Request& request, const std::string& key) {
    const std::string query = queryOf(request);
    const std::size_t at = memberStart(query, key);
    if (at == std::string::npos) return {};
    return decodeEscapes(query.substr(at + key.size() + 1), false);
}

Page pageOf(const httplib::Request& request, std::size_t defaultLimit) {
    Page page;
    page.limit = defaultLimit;
    if (auto limit = integerParam(request, "limit"); limit && *limit >= 0)
        page.limit = static_cast<std::size_t>(*limit);
    if (auto offset = integerParam(request, "offset"); offset && *offset >= 0) {
        page.offset = static_cast<std::size_t>(*offset);
    }
    return page;
}
