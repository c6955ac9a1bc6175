#include "base/TaskStop.h"

#include <utility>

namespace TaskStop {
namespace {
thread_local std::stop_token currentToken;
}

std::stop_token current() { return currentToken; }

Scope::Scope(std::stop_token token) : previous_(std::exchange(currentToken, std::move(token))) {}

Scope::~Scope() { currentToken = std::move(previous_); }

}  // namespace TaskStop
