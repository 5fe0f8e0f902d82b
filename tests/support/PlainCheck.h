#pragma once

// The harness of the plain C++ tests, which run without Qt: natively and, built by
// the web build, as WebAssembly under Node.js, so that both builds are held to the
// same results.
//
//     TEST_CASE(typedSpeedsGiveTheirInterval) {
//         for (const Row& row : kRows) {
//             CONTEXT("speed \"" + row.text + "\"");   // named in every failure below
//             CHECK_EQ(intervalOf(row.text), row.interval);
//         }
//     }
//     PLAIN_TEST_MAIN()
//
// A failed check prints one line, FILE:LINE: case [context]: what, with the values,
// and the case goes on; REQUIRE... ends the case (as a plain `return`, so only in a
// function returning void) where going on would only repeat the failure. A case that
// makes no check at all fails. The program prints a summary and exits non-zero when
// anything failed; `test_x WORD...` runs only the cases whose names contain a WORD.
// A program may instead call the checks from its own main() and return
// checkFailures() != 0.

#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace testing {

inline int& checkFailures() {
    static int failures = 0;
    return failures;
}

struct Progress {
    long checks = 0;         // made by the case running now
    int failuresPrinted = 0; // of the case running now
    const char* name = "";   // the case running now
    std::vector<std::string> contexts;
};

inline Progress& progress() {
    static Progress p;
    return p;
}

// Names what the checks in its scope are about (a row of a table, a step of a
// sequence); failures print every context open at the time.
class Context {
public:
    explicit Context(std::string what) { progress().contexts.push_back(std::move(what)); }
    ~Context() { progress().contexts.pop_back(); }
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
};

// ---- values as a failure shows them

inline std::string quoted(std::string_view s) {
    std::string out = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
            out += hex;
        } else {
            out += c; // UTF-8 passes as it is
        }
    }
    return out + "\"";
}

template <typename T> struct IsOptional : std::false_type {};
template <typename T> struct IsOptional<std::optional<T>> : std::true_type {};

template <typename T> std::string show(const T& v) {
    if constexpr (std::is_same_v<T, bool>) {
        return v ? "true" : "false";
    } else if constexpr (std::is_same_v<T, char>) {
        return ::testing::quoted(std::string(1, v));
    } else if constexpr (std::is_integral_v<T>) {
        std::string s = std::to_string(v);
        if constexpr (std::is_unsigned_v<T>) { // colours read better in hex
            if (v > 0xFFFF) {
                char hex[24];
                std::snprintf(hex, sizeof hex, " (0x%llX)", static_cast<unsigned long long>(v));
                s += hex;
            }
        }
        return s;
    } else if constexpr (std::is_floating_point_v<T>) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", static_cast<double>(v));
        return text;
    } else if constexpr (std::is_enum_v<T>) {
        return show(static_cast<std::underlying_type_t<T>>(v));
    } else if constexpr (std::is_convertible_v<const T&, std::string_view>) {
        return ::testing::quoted(std::string_view(v));
    } else if constexpr (std::is_same_v<T, std::nullopt_t>) {
        return "nullopt";
    } else if constexpr (IsOptional<T>::value) {
        return v ? show(*v) : "nullopt";
    } else if constexpr (requires { v.first, v.second; }) {
        return "(" + show(v.first) + ", " + show(v.second) + ")";
    } else if constexpr (requires { std::begin(v), std::end(v); }) {
        std::string s = "{";
        int n = 0;
        for (const auto& item : v) {
            if (n) s += ", ";
            if (++n > 32) {
                s += "...";
                break;
            }
            s += show(item);
        }
        return s + "}";
    } else {
        return "(not printable)";
    }
}

template <typename A, typename B> bool equal(const A& a, const B& b) {
    constexpr bool plainIntegers = std::is_integral_v<A> && std::is_integral_v<B> &&
                                   !std::is_same_v<A, bool> && !std::is_same_v<B, bool> &&
                                   !std::is_same_v<A, char> && !std::is_same_v<B, char>;
    if constexpr (plainIntegers)
        return std::cmp_equal(a, b);
    else
        return a == b;
}

// ---- the checks

// Counts a failure and prints it, with the case and the open contexts (a line of 0
// names no line); only the first twenty failures of a case are printed.
inline bool fail(const char* file, int line, const std::string& message) {
    ++checkFailures();
    Progress& p = progress();
    if (++p.failuresPrinted > 20) return false;
    std::string where;
    if (*p.name) where = p.name;
    for (const std::string& c : p.contexts) where += (where.empty() ? "" : ", ") + c;
    const std::string at = line > 0 ? std::string(file) + ":" + std::to_string(line) : file;
    std::printf("%s: %s%s%s%s\n", at.c_str(), where.c_str(), where.empty() ? "" : ": ",
                message.c_str(),
                p.failuresPrinted == 20 ? " (further failures of this case not shown)" : "");
    return false;
}

inline bool checkTrue(bool ok, const char* what, const char* file, int line) {
    ++progress().checks;
    return ok || fail(file, line, std::string("failed: ") + what);
}

template <typename A, typename B>
bool checkEqual(const A& actual, const B& expected, const char* what, const char* file, int line) {
    ++progress().checks;
    return equal(actual, expected) ||
           fail(file, line,
                std::string(what) + ": got " + show(actual) + ", expected " + show(expected));
}

// ---- named cases

struct Case {
    const char* name;
    void (*run)();
};

inline std::vector<Case>& cases() {
    static std::vector<Case> all;
    return all;
}

struct Registration {
    Registration(const char* name, void (*run)()) { cases().push_back({name, run}); }
};

// Runs the cases (those named by the arguments, or all) in the order they are written
// and prints a summary; the exit code of the test.
inline int runCases(int argc, char** argv) {
    std::string program = argc > 0 ? argv[0] : "test";
    program = program.substr(program.find_last_of("/\\") + 1);
    int run = 0;
    long checks = 0;
    std::vector<std::string> failed;
    for (const Case& c : cases()) {
        bool chosen = argc <= 1;
        for (int i = 1; i < argc; ++i)
            chosen = chosen || std::string_view(c.name).find(argv[i]) != std::string_view::npos;
        if (!chosen) continue;
        Progress& p = progress();
        p = Progress{};
        p.name = c.name;
        const int before = checkFailures();
        c.run();
        if (p.checks == 0) fail(program.c_str(), 0, "the case made no check");
        ++run;
        checks += p.checks;
        if (checkFailures() != before) failed.emplace_back(c.name);
        p.name = "";
    }
    std::printf("%s: %d case%s, %ld checks, %zu failed\n", program.c_str(), run,
                run == 1 ? "" : "s", checks, failed.size());
    for (const std::string& name : failed) std::printf("  failed: %s\n", name.c_str());
    if (run == 0) std::printf("no case is named so\n");
    std::fflush(stdout);
    return run > 0 && checkFailures() == 0 ? 0 : 1;
}

} // namespace testing

#define PLAIN_CHECK_JOIN2(a, b) a##b
#define PLAIN_CHECK_JOIN(a, b) PLAIN_CHECK_JOIN2(a, b)

#define TEST_CASE(name)                                                                            \
    static void name();                                                                            \
    static const ::testing::Registration PLAIN_CHECK_JOIN(name, Registration){#name, name};        \
    static void name()

#define PLAIN_TEST_MAIN()                                                                          \
    int main(int argc, char** argv) {                                                              \
        return ::testing::runCases(argc, argv);                                                    \
    }

// Names the checks of the enclosing scope; the argument is anything a std::string is
// made from.
#define CONTEXT(what) const ::testing::Context PLAIN_CHECK_JOIN(context, __LINE__)(what)

#define CHECK_EQ(actual, expected)                                                                 \
    ::testing::checkEqual((actual), (expected), #actual, __FILE__, __LINE__)
#define CHECK(condition) ::testing::checkTrue((condition), #condition, __FILE__, __LINE__)
// With a message of its own, made only when the check fails.
#define CHECK_MSG(condition, message)                                                              \
    (++::testing::progress().checks, (condition) || ::testing::fail(__FILE__, __LINE__, (message)))
#define FAIL(message) ::testing::fail(__FILE__, __LINE__, (message))

// The same, ending the case on failure.
#define REQUIRE(condition)                                                                         \
    do {                                                                                           \
        if (!CHECK(condition)) return;                                                             \
    } while (false)
#define REQUIRE_EQ(actual, expected)                                                               \
    do {                                                                                           \
        if (!CHECK_EQ(actual, expected)) return;                                                   \
    } while (false)
#define REQUIRE_MSG(condition, message)                                                            \
    do {                                                                                           \
        if (!CHECK_MSG(condition, message)) return;                                                \
    } while (false)
