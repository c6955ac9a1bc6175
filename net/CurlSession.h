#pragma once
// Easy handles kept between exchanges so that their open TCP/TLS connections
// serve the next request to the same host. A handle is lent to one thread at
// a time; idle handles share their DNS cache and TLS sessions through a curl
// share object, so even a handle new to a host resumes a TLS session.
// (libcurl cannot share one connection cache between concurrent threads,
// which is why connections stay with their handle.)
#include <curl/curl.h>

#include <mutex>
#include <vector>

class CurlHandlePool {
public:
    // A handle on loan; it goes back to the pool, reset, when the lease ends.
    class Lease {
    public:
        Lease(CurlHandlePool& pool, CURL* handle) : pool_(pool), handle_(handle) {}
        ~Lease() { pool_.giveBack(handle_); }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        CURL* handle() const { return handle_; }  // null when libcurl could not make one

    private:
        CurlHandlePool& pool_;
        CURL* handle_;
    };

    explicit CurlHandlePool(size_t maxIdleHandles);
    ~CurlHandlePool();
    CurlHandlePool(const CurlHandlePool&) = delete;
    CurlHandlePool& operator=(const CurlHandlePool&) = delete;

    // An idle handle, or a new one when none is idle. Safe on any thread.
    Lease acquire();

private:
    void giveBack(CURL* handle);
    static void lockShare(CURL*, curl_lock_data data, curl_lock_access, void* pool);
    static void unlockShare(CURL*, curl_lock_data data, void* pool);

    const size_t maxIdleHandles_;
    CURLSH* share_;                                 // set up in the constructor, then used only by libcurl
    std::mutex shareLocks_[CURL_LOCK_DATA_LAST];  // one per kind of shared data, taken by libcurl
    std::mutex idleMutex_;
    std::vector<CURL*> idle_;  // guarded by idleMutex_
};
