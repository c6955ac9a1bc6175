#include "net/CurlSession.h"

CurlSession::CurlSession(CURLSH* share) : easy_(curl_easy_init()), multi_(curl_multi_init()) {
    if (easy_ && share) curl_easy_setopt(easy_, CURLOPT_SHARE, share);
}

CurlSession::~CurlSession() {
    // The easy handle is never left in the multi handle between transfers.
    if (multi_) curl_multi_cleanup(multi_);
    if (easy_) curl_easy_cleanup(easy_);
}

CurlSessionPool::CurlSessionPool(size_t maxIdleSessions)
    : maxIdleSessions_(maxIdleSessions), share_(curl_share_init()) {
    if (!share_) return;
    curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
    curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &CurlSessionPool::lockShare);
    curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &CurlSessionPool::unlockShare);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
}

CurlSessionPool::~CurlSessionPool() {
    idle_.clear();  // sessions go before the share they use
    if (share_) curl_share_cleanup(share_);
}

CurlSessionPool::Lease CurlSessionPool::acquire() {
    {
        std::lock_guard lock(idleMutex_);
        if (!idle_.empty()) {
            std::unique_ptr<CurlSession> session = std::move(idle_.back());
            idle_.pop_back();
            return Lease(*this, std::move(session));
        }
    }
    return Lease(*this, std::make_unique<CurlSession>(share_));
}

void CurlSessionPool::giveBack(std::unique_ptr<CurlSession> session) {
    if (!session->usable()) return;
    session->reset();
    std::lock_guard lock(idleMutex_);
    if (idle_.size() < maxIdleSessions_) idle_.push_back(std::move(session));
    // Otherwise the session closes its connections as it goes.
}

void CurlSessionPool::lockShare(CURL*, curl_lock_data data, curl_lock_access, void* pool) {
    static_cast<CurlSessionPool*>(pool)->shareLocks_[data].lock();
}

void CurlSessionPool::unlockShare(CURL*, curl_lock_data data, void* pool) {
    static_cast<CurlSessionPool*>(pool)->shareLocks_[data].unlock();
}
