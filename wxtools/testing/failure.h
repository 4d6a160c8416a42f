#pragma once
// Where the testing kit reports what went wrong: an unexpected dialog, a
// button that is not there, an answer nobody asked for. The kit depends on no
// test framework; glue for one (wxtools/testing/gtest.h) routes these reports
// into that framework's failures.
#include <cstddef>
#include <functional>
#include <string>

namespace ovk_wxtest {

// Receives one UTF-8 message per failure.
using FailureHandler = std::function<void(const std::string& message)>;

// Installs `handler` and returns the one it replaces. Without a handler,
// failures are written to standard error.
FailureHandler set_failure_handler(FailureHandler handler);

// Reports one failure through the current handler.
void report_failure(const std::string& message);

// Failures reported since the program started, whoever handled them.
std::size_t failure_count();

}  // namespace ovk_wxtest
