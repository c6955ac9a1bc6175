#pragma once
// A libcurl session: an easy handle and the multi handle that runs its
// transfers. The multi handle keeps the open TCP/TLS connections between
// transfers, and lets another thread wake a transfer waiting for the network
// (see CurlExchange). A session is used by one thread at a time.
//
// CurlSessionPool keeps sessions between transfers so that their connections
// serve the next request to the same host. Its sessions share their DNS cache
// and TLS sessions through a curl share object, so even a session new to a
// host resumes a TLS session. (libcurl cannot share one connection cache
// between concurrent threads, which is why connections stay with their
// session.)
#include <curl/curl.h>

#include <memory>
#include <mutex>
#include <vector>

class CurlSession {
public:
    // A session of its own; with `share`, it uses that share object.
    explicit CurlSession(CURLSH* share = nullptr);
    ~CurlSession();
    CurlSession(const CurlSession&) = delete;
    CurlSession& operator=(const CurlSession&) = delete;

    // False when libcurl could not make the handles.
    bool usable() const { return easy_ && multi_; }
    CURL* easy() const { return easy_; }
    CURLM* multi() const { return multi_; }
    // Clears the options of the last transfer; connections, TLS sessions
    // and the share stay.
    void reset() { curl_easy_reset(easy_); }

private:
    // Both used only by the thread holding the session, except that a stop
    // callback on another thread may wake the multi handle's wait
    // (curl_multi_wakeup, which libcurl allows from any thread).
    CURL* easy_;
    CURLM* multi_;
};

class CurlSessionPool {
public:
    // A session on loan; it goes back to the pool, reset, when the lease ends.
    // Lives on the borrowing thread.
    class Lease {
    public:
        Lease(CurlSessionPool& pool, std::unique_ptr<CurlSession> session)
            : pool_(pool), session_(std::move(session)) {}
        ~Lease() { pool_.giveBack(std::move(session_)); }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        CurlSession& session() const { return *session_; }

    private:
        CurlSessionPool& pool_;
        std::unique_ptr<CurlSession> session_;
    };

    explicit CurlSessionPool(size_t maxIdleSessions);
    ~CurlSessionPool();
    CurlSessionPool(const CurlSessionPool&) = delete;
    CurlSessionPool& operator=(const CurlSessionPool&) = delete;

    // An idle session, or a new one when none is idle. Safe on any thread.
    Lease acquire();

private:
    void giveBack(std::unique_ptr<CurlSession> session);
    static void lockShare(CURL*, curl_lock_data data, curl_lock_access, void* pool);
    static void unlockShare(CURL*, curl_lock_data data, void* pool);

    // Sessions move between threads only through idle_, under idleMutex_.
    const size_t maxIdleSessions_;
    CURLSH* share_;                               // set up in the constructor, then used only by libcurl
    std::mutex shareLocks_[CURL_LOCK_DATA_LAST];  // one per kind of shared data, taken by libcurl on any thread
    std::mutex idleMutex_;
    std::vector<std::unique_ptr<CurlSession>> idle_;  // guarded by idleMutex_
};
