#pragma once
#include <chrono>
#include <functional>

namespace tallowby::testsupport {

using namespace std::chrono_literals;

// Polls until the condition holds; false when the timeout passed first. Tests wait for other
// processes this way, with a deadline, never with a fixed sleep.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s);

} // namespace tallowby::testsupport
