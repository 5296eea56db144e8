#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

// Lets one test executable run several QtTest classes: each test file registers its class with
// MIREN_REGISTER_TEST, and the shared main (TestMain.cpp) runs them one after the other.
struct RegisteredTest {
    const char* name;
    std::function<std::unique_ptr<QObject>()> make;
};

inline std::vector<RegisteredTest>& registeredTests()
{
    static std::vector<RegisteredTest> tests;
    return tests;
}

#define MIREN_REGISTER_TEST(Class)                                                                 \
    static const bool registered##Class = [] {                                                     \
        registeredTests().push_back({#Class, [] { return std::unique_ptr<QObject>(new Class); }}); \
        return true;                                                                               \
    }();
