#pragma once
#include <functional>

namespace sc::test {

// Looks every few milliseconds whether `done` holds, for at most about
// `timeoutMs`; returns done(). For what another process or thread brings about.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 30000);

}  // namespace sc::test
