#include <sys/stat.h>

#include "platform/Drives.h"
#include "platform/FileAccess.h"

namespace morvane::platform {

std::vector<Drive> ListDrives() {
    auto table = ReadFileBytes("/proc/self/mounts");
    if (!table) table = ReadFileBytes("/proc/mounts");
    std::vector<Drive> drives = ParseMounts(table.value_or(""), DeviceIsRemovable);
    std::erase_if(drives, [](const Drive& drive) {
        struct stat info {};
        return stat(drive.rootPath.c_str(), &info) != 0 || !S_ISDIR(info.st_mode);
    });
    return drives;
}

}  // namespace morvane::platform
