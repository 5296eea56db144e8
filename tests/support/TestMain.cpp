#include "TestMain.h"

#include <QByteArray>
#include <QTest>
#include <algorithm>
#include <cstring>
#include <vector>

#ifdef MIREN_TEST_GUI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

namespace {

// "out.xml,junitxml" for TestClass: "out-TestClass.xml,junitxml"; standard output ("-") stays.
QByteArray reportFor(const char* output, const char* testClass)
{
    QByteArray file = output;
    QByteArray format;
    if (const qsizetype comma = file.lastIndexOf(','); comma >= 0) {
        format = file.mid(comma);
        file.truncate(comma);
    }
    if (file == "-")
        return output;
    const qsizetype slash = std::max(file.lastIndexOf('/'), file.lastIndexOf('\\'));
    const qsizetype dot = file.lastIndexOf('.');
    const qsizetype at = dot > slash ? dot : file.size();
    return file.left(at) + '-' + testClass + file.mid(at) + format;
}

} // namespace

// Runs every registered test class; the exit status is non-zero when any test failed. With
// several classes, a report file named with -o is written once per class, the class's name
// added to its name, so no class overwrites another's report.
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
    const bool several = !only && registeredTests().size() > 1;
    int failed = 0;
    for (const RegisteredTest& test : registeredTests()) {
        if (only && std::strcmp(only, test.name) != 0)
            continue;
        // Each class writes its own report: "-o out.xml,junitxml" becomes out-TestClass.xml.
        std::vector<QByteArray> reports;
        reports.reserve(args.size()); // the arguments point into them
        std::vector<char*> classArgs = args;
        for (std::size_t i = 1; several && i + 1 < classArgs.size(); ++i) {
            if (std::strcmp(classArgs[i], "-o") == 0) {
                reports.push_back(reportFor(classArgs[i + 1], test.name));
                classArgs[++i] = reports.back().data();
            }
        }
        const std::unique_ptr<QObject> object = test.make();
        failed +=
            QTest::qExec(object.get(), static_cast<int>(classArgs.size()), classArgs.data()) != 0;
    }
    return failed == 0 ? 0 : 1;
}
