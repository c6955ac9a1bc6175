#include "server/account/QrLoginBook.h"

#include <cstdio>

QrLoginBook::QrLoginBook(std::chrono::seconds lifetime, Clock clock)
    : lifetime_(lifetime), clock_(std::move(clock)), random_(std::random_device{}()) {}

std::string QrLoginBook::createKey() {
    std::lock_guard lock(mutex_);
    const auto now = clock_();
    std::erase_if(keys_, [&](const auto& entry) { return now - entry.second.created >= lifetime_; });

    // A version-4 UUID, the form of the service's keys.
    const std::uint64_t high = random_(), low = random_();
    char key[40];
    std::snprintf(key, sizeof key, "%08x-%04x-4%03x-%04x-%012llx", static_cast<unsigned>(high >> 32),
                  static_cast<unsigned>((high >> 16) & 0xFFFF), static_cast<unsigned>(high & 0xFFF),
                  static_cast<unsigned>(0x8000 | ((low >> 48) & 0x3FFF)),
                  static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFULL));
    keys_[key] = Entry{now, Stage::Created};
    return key;
}

QrLoginBook::Entry* QrLoginBook::liveEntry(const std::string& key) {
    const auto found = keys_.find(key);
    if (found == keys_.end()) return nullptr;
    if (clock_() - found->second.created >= lifetime_) {
        keys_.erase(found);
        return nullptr;
    }
    return &found->second;
}

bool QrLoginBook::markScanned(const std::string& key) {
    std::lock_guard lock(mutex_);
    Entry* entry = liveEntry(key);
    if (!entry) return false;
    if (entry->stage == Stage::Created) entry->stage = Stage::Scanned;
    return true;
}

QrPollState QrLoginBook::poll(const std::string& key) {
    std::lock_guard lock(mutex_);
    Entry* entry = liveEntry(key);
    if (!entry) return QrPollState::Expired;
    switch (entry->stage) {
        case Stage::Created: return QrPollState::WaitingScan;
        case Stage::Scanned: entry->stage = Stage::Confirming; return QrPollState::WaitingConfirm;
        case Stage::Confirming: break;
    }
    keys_.erase(key);
    return QrPollState::Authorized;
}
