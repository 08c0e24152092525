// Windows paths from the settings looked up through the Wine prefix.
#include <gtest/gtest.h>

#include <cstdlib>

#include "gamesetup/WinePaths.h"

namespace morvane::gamesetup {
namespace {

TEST(WinePaths, DrivePathsMapIntoThePrefix) {
    const struct {
        const char* path;
        const char* mapped;
    } cases[] = {
        {"C:\\Westwood\\Redalert", "/home/u/.wine/dosdevices/c:/Westwood/Redalert"},
        {"d:/Games/RA/", "/home/u/.wine/dosdevices/d:/Games/RA"},
        {"C:\\", "/home/u/.wine/dosdevices/c:"},
        {"C:", "/home/u/.wine/dosdevices/c:"},
    };
    for (const auto& c : cases) EXPECT_EQ(MapThroughWinePrefix(c.path, "/home/u/.wine/"), c.mapped) << c.path;

    for (const char* path : {"C:\\x", "z:", "c:/"}) EXPECT_TRUE(IsWindowsDrivePath(path)) << path;
    for (const char* path : {"/home/u", "CC:\\x", "C", "1:\\x", "C:x", "", "rules.ini"})
        EXPECT_FALSE(IsWindowsDrivePath(path)) << path;
}

TEST(WinePaths, PrefixFromTheEnvironment) {
    EXPECT_EQ(WinePrefix(std::string("/opt/ra"), std::string("/home/u")), "/opt/ra");
    EXPECT_EQ(WinePrefix(std::string(), std::string("/home/u")), "/home/u/.wine");
    EXPECT_EQ(WinePrefix(std::nullopt, std::string("/home/u")), "/home/u/.wine");
    EXPECT_EQ(WinePrefix(std::nullopt, std::nullopt), std::nullopt);
}

#ifndef _WIN32
TEST(WinePaths, HostPathUsesWineprefix) {
    const char* saved = std::getenv("WINEPREFIX");
    const std::string keep = saved ? saved : "";
    setenv("WINEPREFIX", "/tmp/prefix", 1);
    EXPECT_EQ(HostPath("C:\\Westwood\\Redalert"), "/tmp/prefix/dosdevices/c:/Westwood/Redalert");
    EXPECT_EQ(HostPath("/srv/ra"), "/srv/ra");
    if (saved)
        setenv("WINEPREFIX", keep.c_str(), 1);
    else
        unsetenv("WINEPREFIX");
}
#endif

}  // namespace
}  // namespace morvane::gamesetup
