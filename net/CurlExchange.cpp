#include "net/CurlExchange.h"

#include <openssl/err.h>
#include <openssl/ssl.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <stop_token>
#include <string_view>

#include "base/TaskStop.h"
#include "net/BodyBudget.h"
#include "net/HttpAsciiCase.h"

namespace {

std::string_view headerName(std::string_view line) { return line.substr(0, line.find(':')); }

// Ends an exchange once no data has moved for the idle time-out: neither
// response bytes nor request body bytes. The clock starts when a connection
// is ready for the request, so connecting is bounded by its own time-out, and
// there is no limit on a whole exchange that keeps moving. It also ends the
// exchange once the task running it is asked to stop.
// It passes the download's progress on to the exchange's receiver, if any.
// Used only on the thread running the exchange, from libcurl's callbacks;
// `stop_` is a token, whose state another thread may change, safely.
class TransferWatch {
public:
    using ProgressReceiver = std::function<void(std::int64_t received, std::int64_t total)>;

    TransferWatch(long idleLimitSeconds, std::stop_token stop, const ProgressReceiver& progress)
        : limit_(std::chrono::seconds(idleLimitSeconds)), stop_(std::move(stop)), progress_(progress) {}
    void activity() { last_ = std::chrono::steady_clock::now(); }

    static int onConnected(void* self, char*, char*, int, int) {
        auto* watch = static_cast<TransferWatch*>(self);
        watch->connected_ = true;
        watch->activity();
        return CURL_PREREQFUNC_OK;
    }
    // Non-zero aborts the exchange. libcurl calls it whenever data moves and
    // at least once a second while waiting, and the wait in perform() is
    // woken early by a stop request.
    static int onProgress(void* self, curl_off_t downloadTotal, curl_off_t downloaded, curl_off_t,
                          curl_off_t uploaded) {
        auto* watch = static_cast<TransferWatch*>(self);
        if (watch->stop_.stop_requested()) return 1;
        if (watch->progress_) watch->progress_(downloaded, downloadTotal);
        if (uploaded != watch->uploaded_) {
            watch->uploaded_ = uploaded;
            watch->activity();
        }
        return watch->connected_ && std::chrono::steady_clock::now() - watch->last_ >= watch->limit_;
    }

private:
    const std::chrono::steady_clock::duration limit_;
    const std::stop_token stop_;
    const ProgressReceiver& progress_;
    std::chrono::steady_clock::time_point last_;
    bool connected_ = false;
    curl_off_t uploaded_ = 0;
};

// The value of the head's first field of that name (any letter case), its
// spaces and line end left on; none when the head has no such field.
std::optional<std::string_view> fieldValue(std::string_view head, std::string_view name) {
    for (size_t start = 0; start < head.size();) {
        const size_t end = std::min(head.find('\n', start), head.size());
        const std::string_view line = head.substr(start, end - start);
        if (line.find(':') != std::string_view::npos && equalsIgnoringCase(headerName(line), name))
            return line.substr(line.find(':') + 1);
        start = end + 1;
    }
    return std::nullopt;
}

// The body length a head announces in its Content-Length field; none when
// it announces none or one that is not a number.
std::optional<std::uint64_t> announcedLength(std::string_view head) {
    std::optional<std::string_view> value = fieldValue(head, "Content-Length");
    if (!value) return std::nullopt;
    const size_t first = value->find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    const std::string_view digits = value->substr(first, value->find_last_not_of(" \t\r") + 1 - first);
    std::uint64_t length = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), length);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return length;
}

int statusCodeOf(std::string_view head) {
    size_t space = head.find(' ');
    if (space == std::string_view::npos) return 0;
    int code = 0;
    for (size_t i = space + 1; i < head.size() && std::isdigit(static_cast<unsigned char>(head[i])); ++i)
        code = code * 10 + (head[i] - '0');
    return code;
}

// A redirect head that libcurl was going to follow: the exchange went on
// past it, so it is not the answer.
bool isFollowedRedirect(std::string_view head) {
    int code = statusCodeOf(head);
    return code >= 300 && code < 400 && code != 304 && fieldValue(head, "Location").has_value();
}

// The final response head and body, fed by libcurl's callbacks. A status
// line after a complete head starts a new response (an interim 1xx answer or
// a redirect being followed); lines after a complete head that are not a
// status line are trailer fields of a chunked body and are left out. The
// body is kept, or handed to the sink when there is one. A body that would
// grow past `bodyLimit` is refused at that write, which ends the transfer
// there, and a final head that announces a longer body ends it before a
// byte of that body is taken; a body kept here gets the room its head
// announces at once. Used only on the thread running the exchange.
struct ResponseCapture {
    using Sink = std::function<bool(std::string_view bytes)>;

    using HeadSink = std::function<void(std::string_view head)>;

    // `bodyExpected` is false for a HEAD request, whose answer announces a
    // length without a body; `followsRedirects` when libcurl follows them.
    ResponseCapture(TransferWatch& watch, size_t limit, const Sink& sink, const HeadSink& headSink, bool bodyExpected,
                    bool followsRedirects)
        : watch(watch),
          bodyLimit(limit),
          sink(sink),
          headSink(headSink),
          bodyExpected(bodyExpected),
          followsRedirects(followsRedirects) {}
    // A body still here (the exchange failed) is freed before its share of
    // the budget goes back, so the end of a burst finds it gone.
    ~ResponseCapture() {
        std::string().swap(body);
        BodyBudget::shared().giveBack(charged);
    }
    ResponseCapture(const ResponseCapture&) = delete;
    ResponseCapture& operator=(const ResponseCapture&) = delete;

    TransferWatch& watch;
    const size_t bodyLimit;
    const Sink& sink;
    const HeadSink& headSink;
    const bool bodyExpected;
    const bool followsRedirects;
    std::string head;
    bool headComplete = false;
    std::string body;
    size_t bodySize = 0;      // what arrived of the current answer's body, kept or handed on
    bool headHanded = false;  // the head sink has been told the current answer's head
    bool bodyTooLarge = false;
    size_t charged = 0;  // taken from the shared body budget for `body`'s room

    // Room for `needed` bytes of body, grown by doubling up to the limit; the
    // room past the first megabyte comes out of the shared budget.
    bool makeRoom(size_t needed) {
        if (needed <= body.capacity()) return true;
        const size_t room = std::min(bodyLimit, std::max(needed, body.capacity() * 2));
        const size_t charge = room > BodyBudget::kFreeBytes ? room - BodyBudget::kFreeBytes : 0;
        if (charge > charged) {
            if (!BodyBudget::shared().take(charge - charged)) return false;
            charged = charge;
        }
        body.reserve(room);
        return true;
    }

    void addHeaderLine(std::string_view line) {
        watch.activity();
        if (line.starts_with("HTTP/") && headComplete) {
            head.clear();
            body.clear();
            bodySize = 0;
            headHanded = false;
            headComplete = false;
        } else if (headComplete) {
            return;
        }
        head.append(line);
        if (line == "\r\n" || line == "\n") headComplete = true;
    }

    // Once a head is complete: false, marking the body too large, when it
    // is the answer's and announces a body over the limit, or one the
    // shared budget has no room for.
    bool acceptsAnnouncedBody() {
        if (!bodyExpected || (followsRedirects && isFollowedRedirect(head))) return true;
        const int status = statusCodeOf(head);
        if (status < 200 || status == 204 || status == 304) return true;
        const std::optional<std::uint64_t> length = announcedLength(head);
        if (!length) return true;
        if (*length > bodyLimit || (!sink && !makeRoom(size_t(*length)))) {
            bodyTooLarge = true;
            return false;
        }
        return true;
    }

    // Returning less than it was given ends the transfer.
    static size_t onHeader(char* data, size_t size, size_t count, void* self) {
        auto* capture = static_cast<ResponseCapture*>(self);
        capture->addHeaderLine(std::string_view(data, size * count));
        if (capture->headComplete && !capture->acceptsAnnouncedBody()) return 0;
        return size * count;
    }
    static size_t onBody(char* data, size_t size, size_t count, void* self) {
        auto* capture = static_cast<ResponseCapture*>(self);
        const size_t bytes = size * count;
        capture->watch.activity();
        if (bytes > capture->bodyLimit - capture->bodySize) {
            capture->bodyTooLarge = true;
            return CURL_WRITEFUNC_ERROR;
        }
        capture->bodySize += bytes;
        if (!capture->sink) {
            if (!capture->makeRoom(capture->body.size() + bytes)) {
                capture->bodyTooLarge = true;
                return CURL_WRITEFUNC_ERROR;
            }
            capture->body.append(data, bytes);
            return bytes;
        }
        // Only the final answer's body comes here, so its head is complete.
        if (capture->headSink && !capture->headHanded) capture->headSink(capture->head);
        capture->headHanded = true;
        if (!capture->sink(std::string_view(data, bytes))) return CURL_WRITEFUNC_ERROR;
        return bytes;
    }
};

struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using Slist = std::unique_ptr<curl_slist, SlistDeleter>;

bool appendTo(Slist& list, const std::string& entry) {
    curl_slist* grown = curl_slist_append(list.get(), entry.c_str());
    if (!grown) return false;
    list.release();
    list.reset(grown);
    return true;
}

// libcurl's header list: each line as given, a line with an empty value in
// libcurl's "Name;" form (a bare "Name:" would remove the header), then
// "Name:" entries that stop libcurl from adding its own Accept, Expect,
// Proxy-Connection and, for a body, Content-Type. Empty when a line has no
// name or holds a line break.
std::optional<Slist> curlHeaderList(const CurlExchangeSpec& spec) {
    Slist list;
    auto present = [&](std::string_view name) {
        return std::any_of(spec.headerLines.begin(), spec.headerLines.end(),
                           [&](const std::string& line) { return equalsIgnoringCase(headerName(line), name); });
    };
    for (const std::string& line : spec.headerLines) {
        size_t colon = line.find(':');
        if (colon == 0 || colon == std::string::npos || line.find_first_of("\r\n") != std::string::npos)
            return std::nullopt;
        bool emptyValue = line.find_first_not_of(" \t", colon + 1) == std::string::npos;
        if (!appendTo(list, emptyValue ? line.substr(0, colon) + ";" : line)) return std::nullopt;
    }
    std::vector<std::string_view> suppressed{"Accept", "Expect", "Proxy-Connection"};
    if (spec.sendBody) suppressed.push_back("Content-Type");
    for (std::string_view name : suppressed)
        if (!present(name) && !appendTo(list, std::string(name) + ":")) return std::nullopt;
    return list;
}

// Adds the certificate authorities of the file named by MIVRA_CA_FILE to
// the system's. A file that cannot be read adds nothing.
CURLcode trustExtraCaFile(CURL*, void* sslContext, void* path) {
    X509_STORE* store = SSL_CTX_get_cert_store(static_cast<SSL_CTX*>(sslContext));
    X509_STORE_load_file(store, static_cast<const char*>(path));
    ERR_clear_error();
    return CURLE_OK;
}

// True when libcurl's default certificate folder (hashed links, one file per
// authority) exists. Verifying against it reads only the authorities a chain
// needs, where reading the whole bundle file costs some 20 ms per connection.
bool systemCaFolderUsable(CURL* handle) {
    const char* folder = nullptr;
    std::error_code ignored;
    return curl_easy_getinfo(handle, CURLINFO_CAPATH, &folder) == CURLE_OK && folder &&
           std::filesystem::is_directory(folder, ignored);
}

// Sets options in order and remembers the step of the first one refused.
class OptionSetter {
public:
    explicit OptionSetter(CURL* handle) : handle_(handle) {}
    template <typename Value>
    void operator()(CurlSetupStep step, CURLoption option, Value value) {
        if (!failed_ && curl_easy_setopt(handle_, option, value) != CURLE_OK) failed_ = step;
    }
    void fail(CurlSetupStep step) {
        if (!failed_) failed_ = step;
    }
    std::optional<CurlSetupStep> failed() const { return failed_; }

private:
    CURL* handle_;
    std::optional<CurlSetupStep> failed_;
};

void setMethodAndBody(OptionSetter& set, const CurlExchangeSpec& spec) {
    using enum CurlSetupStep;
    if (spec.method == "HEAD") {
        set(Session, CURLOPT_NOBODY, 1L);
    } else if (spec.sendBody) {
        if (spec.method == "POST") set(Session, CURLOPT_POST, 1L);
        set(Session, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(spec.body.size()));
        set(Session, CURLOPT_POSTFIELDS, spec.body.data());
        if (spec.method != "POST") set(Session, CURLOPT_CUSTOMREQUEST, spec.method.c_str());
    } else if (spec.method == "GET") {
        set(Session, CURLOPT_HTTPGET, 1L);
    } else {
        set(Session, CURLOPT_CUSTOMREQUEST, spec.method.c_str());
    }
}

// The result of the session's transfer once it has ended.
CURLcode finishedTransferCode(CurlSession& session) {
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(session.multi(), &left)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == session.easy()) return message->data.result;
    }
    return CURLE_FAILED_INIT;
}

// Runs the transfer set up on the session's easy handle to its end. This is
// the loop curl_easy_perform runs, except that a stop request wakes its wait
// for the network at once instead of at the next of libcurl's ticks (up to a
// second apart), so a stopped task is not kept waiting.
CURLcode perform(CurlSession& session, const std::stop_token& stop) {
    constexpr int kLongestWaitMilliseconds = 1000;
    CURLM* multi = session.multi();
    if (curl_multi_add_handle(multi, session.easy()) != CURLM_OK) return CURLE_FAILED_INIT;
    CURLcode code = CURLE_ABORTED_BY_CALLBACK;
    {
        // Runs on the thread that asks the task to stop, or here at once
        // when that has already happened.
        std::stop_callback wake(stop, [multi] { curl_multi_wakeup(multi); });
        for (;;) {
            int running = 0;
            if (curl_multi_perform(multi, &running) != CURLM_OK) {
                code = CURLE_FAILED_INIT;
                break;
            }
            if (running == 0) {
                code = finishedTransferCode(session);
                break;
            }
            // The progress callback ends the transfer on a stop request
            // whenever libcurl calls it; this ends it in any other state.
            if (stop.stop_requested()) break;
            if (curl_multi_poll(multi, nullptr, 0, kLongestWaitMilliseconds, nullptr) != CURLM_OK) {
                code = CURLE_FAILED_INIT;
                break;
            }
        }
    }
    // An unfinished transfer ends here and its connection is closed.
    curl_multi_remove_handle(multi, session.easy());
    return code;
}

}  // namespace

CurlExchangeResult runCurlExchange(CurlSession& session, const CurlExchangeSpec& spec) {
    using enum CurlSetupStep;
    using Outcome = CurlExchangeResult::Outcome;
    CurlExchangeResult result;
    if (!session.usable()) {
        result.outcome = Outcome::SetupFailed;
        return result;
    }
    CURL* handle = session.easy();
    const std::stop_token stop = TaskStop::current();
    TransferWatch watch(spec.idleTimeoutSeconds, stop, spec.progress);
    ResponseCapture capture(watch, spec.bodyLimit, spec.bodySink, spec.headSink, spec.method != "HEAD",
                            spec.followRedirects);
    OptionSetter set(handle);
    const std::string url = spec.url.curlUrl();
    const char* extraCaFile = std::getenv("MIVRA_CA_FILE");
    const std::string extraCaPath = extraCaFile ? extraCaFile : "";

    set(Session, CURLOPT_URL, url.c_str());
    set(Session, CURLOPT_PROTOCOLS_STR, "http,https");
    set(Session, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    set(Session, CURLOPT_NOSIGNAL, 1L);
    set(Session, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    set(Session, CURLOPT_PATH_AS_IS, 1L);
    set(Session, CURLOPT_HTTP_CONTENT_DECODING, 0L);
    set(Session, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    set(Session, CURLOPT_PROXY, spec.proxy.c_str());
    set(Session, CURLOPT_PROXYTYPE, static_cast<long>(spec.socksProxy ? CURLPROXY_SOCKS4 : CURLPROXY_HTTP));
    set(Session, CURLOPT_SSL_VERIFYPEER, 1L);
    set(Session, CURLOPT_SSL_VERIFYHOST, 2L);
    // Worked out once, by the first exchange on any thread; read-only after.
    static const bool caFolderOnly = systemCaFolderUsable(handle);
    if (caFolderOnly) set(Session, CURLOPT_CAINFO, static_cast<const char*>(nullptr));
    if (!extraCaPath.empty()) {
        set(Session, CURLOPT_SSL_CTX_FUNCTION, &trustExtraCaFile);
        set(Session, CURLOPT_SSL_CTX_DATA, extraCaPath.c_str());
    }
    set(Session, CURLOPT_HEADERFUNCTION, &ResponseCapture::onHeader);
    set(Session, CURLOPT_HEADERDATA, &capture);
    set(Session, CURLOPT_WRITEFUNCTION, &ResponseCapture::onBody);
    set(Session, CURLOPT_WRITEDATA, &capture);
    if (!spec.userAgent.empty()) set(Session, CURLOPT_USERAGENT, spec.userAgent.c_str());
    setMethodAndBody(set, spec);

    set(Timeouts, CURLOPT_CONNECTTIMEOUT, spec.connectTimeoutSeconds);
    set(Timeouts, CURLOPT_TIMEOUT, spec.totalTimeoutSeconds);
    set(Timeouts, CURLOPT_PREREQFUNCTION, &TransferWatch::onConnected);
    set(Timeouts, CURLOPT_PREREQDATA, &watch);
    set(Timeouts, CURLOPT_XFERINFOFUNCTION, &TransferWatch::onProgress);
    set(Timeouts, CURLOPT_XFERINFODATA, &watch);
    set(Timeouts, CURLOPT_NOPROGRESS, 0L);

    if (!spec.serverCredentials.user.empty()) {
        set(Credentials, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
        set(Credentials, CURLOPT_USERNAME, spec.serverCredentials.user.c_str());
        set(Credentials, CURLOPT_PASSWORD, spec.serverCredentials.password.c_str());
    }
    if (!spec.proxyCredentials.user.empty()) {
        set(Credentials, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC));
        set(Credentials, CURLOPT_PROXYUSERNAME, spec.proxyCredentials.user.c_str());
        set(Credentials, CURLOPT_PROXYPASSWORD, spec.proxyCredentials.password.c_str());
    }

    set(Redirects, CURLOPT_FOLLOWLOCATION, spec.followRedirects ? 1L : 0L);
    set(Redirects, CURLOPT_MAXREDIRS, 10L);

    std::optional<Slist> headerList = curlHeaderList(spec);
    if (headerList)
        set(Headers, CURLOPT_HTTPHEADER, headerList->get());
    else
        set.fail(Headers);

    if (set.failed()) {
        result.outcome = Outcome::SetupFailed;
        result.failedStep = *set.failed();
        return result;
    }

    if (stop.stop_requested()) {
        result.outcome = Outcome::Stopped;
        return result;
    }
    CURLcode code = perform(session, stop);
    bool answered =
        capture.headComplete && (code == CURLE_OK || !spec.followRedirects || !isFollowedRedirect(capture.head));
    if (code == CURLE_URL_MALFORMAT) {
        result.outcome = Outcome::UrlRejected;
    } else if (code != CURLE_OK && stop.stop_requested()) {
        result.outcome = Outcome::Stopped;
    } else if (capture.bodyTooLarge) {
        result.outcome = Outcome::BodyTooLarge;
    } else if (code == CURLE_UNSUPPORTED_PROTOCOL) {
        result.outcome = Outcome::NotSent;  // a redirect to a scheme other than http or https
    } else if (!answered) {
        long requestBytes = 0;
        curl_easy_getinfo(handle, CURLINFO_REQUEST_SIZE, &requestBytes);
        result.outcome = requestBytes > 0 ? Outcome::NoResponse : Outcome::NotSent;
    } else {
        result.outcome = code == CURLE_OK ? Outcome::Complete : Outcome::BodyBroken;
        result.headers = std::move(capture.head);
        result.body = std::move(capture.body);
        result.statusCode = statusCodeOf(result.headers);
    }
    return result;
}
