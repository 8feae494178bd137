#pragma once
// Work done without root's rights, so that the system's own refusal (EACCES) can be met by a test
// that runs as root: in a child process that runs as "nobody" when the test runs as root.
#include <functional>
#include <string>

namespace tallowby::test {

// The user id the child takes when the test runs as root.
inline constexpr unsigned kNobody = 65534;

// Runs work in a child process and returns what it returned, or what kept it from returning. Files
// the child is to reach must be open to other users.
std::string asOrdinaryUser(const std::function<std::string()>& work);

} // namespace tallowby::test
