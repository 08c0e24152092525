#pragma once

#include <QObject>

#include <memory>
#include <string>
#include <vector>

// Every Qt Test class of the GUI tests registers itself here by name, so that main() can run one
// class per ctest entry without knowing the classes.
namespace morvane::test {

struct GuiTestClass {
    std::string name;
    std::unique_ptr<QObject> (*make)();
};

std::vector<GuiTestClass>& GuiTestClasses();
bool RegisterGuiTestClass(const char* name, std::unique_ptr<QObject> (*make)());

}  // namespace morvane::test

// Put once in the class's .cpp, inside namespace morvane::test, and list the class in
// tests/gui/CMakeLists.txt.
#define MORVANE_GUI_TEST_CLASS(Class)                \
    [[maybe_unused]] const bool kRegistered##Class = \
        ::morvane::test::RegisterGuiTestClass(#Class, [] { return std::unique_ptr<QObject>(new Class); })
