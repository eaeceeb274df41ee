// What a fuzz target asserts about a result: a failed check aborts with its line, which libFuzzer
// reports as a crash and keeps the input for.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace fuzzcheck {

[[noreturn]] inline void Fail(int line)
{
    std::fprintf(stderr, "check failed at line %d\n", line);
    std::abort();
}

} // namespace fuzzcheck

#define Check(condition)                                                                           \
    if (!(condition)) {                                                                            \
        fuzzcheck::Fail(__LINE__);                                                                 \
    }
