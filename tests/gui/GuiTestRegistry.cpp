#include "GuiTestRegistry.h"

namespace morvane::test {

std::vector<GuiTestClass>& GuiTestClasses() {
    static std::vector<GuiTestClass> classes;
    return classes;
}

bool RegisterGuiTestClass(const char* name, std::unique_ptr<QObject> (*make)()) {
    GuiTestClasses().push_back({name, make});
    return true;
}

}  // namespace morvane::test
