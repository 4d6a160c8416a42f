#include "wxtools/testing/failure.h"

#include <cstdio>

namespace ovk_wxtest {

namespace {

FailureHandler& current()
{
    static FailureHandler handler;
    return handler;
}

std::size_t& count()
{
    static std::size_t n = 0;
    return n;
}

}  // namespace

FailureHandler set_failure_handler(FailureHandler handler)
{
    FailureHandler previous = std::move(current());
    current() = std::move(handler);
    return previous;
}

void report_failure(const std::string& message)
{
    ++count();
    if (current())
        current()(message);
    else
        std::fprintf(stderr, "ovk_wxtest failure: %s\n", message.c_str());
}

std::size_t failure_count()
{
    return count();
}

}  // namespace ovk_wxtest
