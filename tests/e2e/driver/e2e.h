// A small test framework for the end-to-end tests: cases registered by E2E_TEST, checks that report the
// caller's file and line and go on, REQUIRE that ends the case. The driver's main runs the cases and ends
// with the line "N passed, N failed".
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace brennic::e2e {

using TestFunction = void (*)();

struct TestCase {
    const char* name;
    const char* file;
    TestFunction function;
};

std::vector<TestCase>& testCases();

struct Registrar {
    Registrar(const char* name, const char* file, TestFunction function) {
        testCases().push_back({name, file, function});
    }
};

// Thrown by REQUIRE to end the current case.
struct TestAbort {};

void fail(const char* file, int line, const std::string& message);
void note(const std::string& message);  // printed only when the case fails

template <typename A, typename B>
void checkEqual(const char* file, int line, const char* aText, const char* bText, const A& a, const B& b) {
    if (a == b) return;
    std::ostringstream out;
    out << "CHECK_EQ(" << aText << ", " << bText << "): \"" << a << "\" != \"" << b << "\"";
    fail(file, line, out.str());
}

}  // namespace brennic::e2e

#define E2E_TEST(name)                                                                  \
    static void e2e_##name();                                                           \
    static ::brennic::e2e::Registrar e2e_registrar_##name(#name, __FILE__, e2e_##name); \
    static void e2e_##name()

#define CHECK(condition)                                                                  \
    do {                                                                                  \
        if (!(condition)) ::brennic::e2e::fail(__FILE__, __LINE__, "CHECK(" #condition ")"); \
    } while (0)

#define CHECK_EQ(a, b) ::brennic::e2e::checkEqual(__FILE__, __LINE__, #a, #b, (a), (b))

#define REQUIRE(condition)                                                                   \
    do {                                                                                     \
        if (!(condition)) {                                                                  \
            ::brennic::e2e::fail(__FILE__, __LINE__, "REQUIRE(" #condition ")");             \
            throw ::brennic::e2e::TestAbort{};                                               \
        }                                                                                    \
    } while (0)
