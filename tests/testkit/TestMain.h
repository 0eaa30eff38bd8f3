#pragma once

// Several test classes in one executable per subsystem: each file ends with
// LENDORA_TEST_CLASS(MyTest) and the executable's main is LENDORA_TEST_MAIN().

#include <QApplication>
#include <QObject>
#include <QTest>
#include <functional>
#include <memory>
#include <vector>

namespace lendora::testkit {

inline std::vector<std::function<std::unique_ptr<QObject>()>> &testClasses()
{
    static std::vector<std::function<std::unique_ptr<QObject>()>> all;
    return all;
}

inline int runTestClasses(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // A case run again in a child (see Unprivileged.h) names its class: the others, which do not
    // know its function, stay out.
    const QByteArray only = qgetenv("LENDORA_TEST_ONLY_CLASS");
    int failures = 0;
    for (const auto &make : testClasses()) {
        const std::unique_ptr<QObject> test = make();
        if (!only.isEmpty() && only != test->metaObject()->className())
            continue;
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures;
}

}  // namespace lendora::testkit

#define LENDORA_TEST_CLASS(Class)                                                                  \
    namespace {                                                                                    \
    const bool registered##Class = [] {                                                            \
        lendora::testkit::testClasses().push_back([] { return std::make_unique<Class>(); });       \
        return true;                                                                               \
    }();                                                                                           \
    }

#define LENDORA_TEST_MAIN()                                                                        \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        return lendora::testkit::runTestClasses(argc, argv);                                       \
    }
