// Runs the GUI test classes offscreen:
//   morvane_gui_tests [CLASS] [Qt Test options]
// With a class name only that class runs (each ctest entry names one); without, all of them.
#include <QApplication>
#include <QTest>

#include <cstdio>
#include <vector>

#include "GuiTestRegistry.h"

int main(int argc, char** argv) {
    using morvane::test::GuiTestClasses;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    const char* only = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
    std::vector<char*> qtestArgs{argv[0]};
    qtestArgs.insert(qtestArgs.end(), argv + (only != nullptr ? 2 : 1), argv + argc);
    int failures = 0;
    bool found = false;
    for (const auto& testClass : GuiTestClasses()) {
        if (only != nullptr && testClass.name != only) continue;
        found = true;
        const auto test = testClass.make();
        failures += QTest::qExec(test.get(), static_cast<int>(qtestArgs.size()), qtestArgs.data());
    }
    if (only != nullptr && !found) {
        std::fprintf(stderr, "morvane_gui_tests: no test class %s; the classes are:\n", only);
        for (const auto& testClass : GuiTestClasses()) std::fprintf(stderr, "  %s\n", testClass.name.c_str());
        return 2;
    }
    return failures == 0 ? 0 : 1;
}
