#include "TestMain.h"

#include <QTest>
#include <cstring>

#ifdef MIREN_TEST_GUI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

// Runs every registered test class; the exit status is non-zero when any test failed.
// "<exe> TestClass [QtTest arguments]" runs that class alone, so single test functions can be
// named without the other classes refusing them.
int main(int argc, char** argv)
{
    TestApplication app(argc, argv);
    std::vector<char*> args(argv, argv + argc);
    const char* only = nullptr;
    if (args.size() > 1) {
        for (const RegisteredTest& test : registeredTests()) {
            if (std::strcmp(args[1], test.name) == 0) {
                only = test.name;
                args.erase(args.begin() + 1);
                break;
            }
        }
    }
    int failed = 0;
    for (const RegisteredTest& test : registeredTests()) {
        if (only && std::strcmp(only, test.name) != 0)
            continue;
        const std::unique_ptr<QObject> object = test.make();
        failed += QTest::qExec(object.get(), static_cast<int>(args.size()), args.data()) != 0;
    }
    return failed == 0 ? 0 : 1;
}
