#include "net/CurlHandlePool.h"

CurlHandlePool::CurlHandlePool(size_t maxIdleHandles) : maxIdleHandles_(maxIdleHandles), share_(curl_share_init()) {
    if (!share_) return;
    curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
    curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &CurlHandlePool::lockShare);
    curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &CurlHandlePool::unlockShare);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
}

CurlHandlePool::~CurlHandlePool() {
    for (CURL* handle : idle_) curl_easy_cleanup(handle);
    if (share_) curl_share_cleanup(share_);
}

CurlHandlePool::Lease CurlHandlePool::acquire() {
    {
        std::lock_guard lock(idleMutex_);
        if (!idle_.empty()) {
            CURL* handle = idle_.back();
            idle_.pop_back();
            return Lease(*this, handle);
        }
    }
    CURL* handle = curl_easy_init();
    if (handle && share_) curl_easy_setopt(handle, CURLOPT_SHARE, share_);
    return Lease(*this, handle);
}

void CurlHandlePool::giveBack(CURL* handle) {
    if (!handle) return;
    // A reset handle keeps its connections, TLS sessions and share.
    curl_easy_reset(handle);
    {
        std::lock_guard lock(idleMutex_);
        if (idle_.size() < maxIdleHandles_) {
            idle_.push_back(handle);
            return;
        }
    }
    curl_easy_cleanup(handle);
}

void CurlHandlePool::lockShare(CURL*, curl_lock_data data, curl_lock_access, void* pool) {
    static_cast<CurlHandlePool*>(pool)->shareLocks_[data].lock();
}

void CurlHandlePool::unlockShare(CURL*, curl_lock_data data, void* pool) {
    static_cast<CurlHandlePool*>(pool)->shareLocks_[data].unlock();
}
