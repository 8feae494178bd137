#pragma once
// The error a call throws, for tests that check its words and code.
#include <functional>

#include <gtest/gtest.h>

namespace tallowby::testsupport {

// Fails the test when the call throws nothing; then returns a default error.
template <class Error> Error thrownBy(const std::function<void()>& call, Error none = Error({}, "")) {
    try {
        call();
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "nothing was thrown";
    return none;
}

} // namespace tallowby::testsupport
