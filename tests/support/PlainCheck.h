#pragma once

// Checks for the plain C++ tests, which run without Qt (the renderer's, so that the
// web build can be held to the same results): each failed check prints where and
// what, and the test's main returns checkFailures() as its exit code.

#include <cstdio>

namespace testing {

inline int& checkFailures() {
    static int failures = 0;
    return failures;
}

template <typename A, typename B>
bool checkEqual(const A& actual, const B& expected, const char* what, const char* file, int line) {
    if (actual == expected) return true;
    ++checkFailures();
    std::printf("%s:%d: %s: got %lld, expected %lld\n", file, line, what,
                static_cast<long long>(actual), static_cast<long long>(expected));
    return false;
}

inline bool checkTrue(bool ok, const char* what, const char* file, int line) {
    if (ok) return true;
    ++checkFailures();
    std::printf("%s:%d: failed: %s\n", file, line, what);
    return false;
}

} // namespace testing

#define CHECK_EQ(actual, expected)                                                                 \
    ::testing::checkEqual((actual), (expected), #actual, __FILE__, __LINE__)
#define CHECK(condition) ::testing::checkTrue((condition), #condition, __FILE__, __LINE__)
