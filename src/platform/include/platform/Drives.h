#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The volumes the folder chooser offers as "drives". On Windows these are the drive letters
// ("C:\\"); on Linux the root folder and the mounted file systems a user would store files on.
namespace morvane::platform {

enum class DriveType { Fixed, Removable, Network, CdRom, RamDisk };

struct Drive {
    std::string rootPath;
    DriveType type;

    bool operator==(const Drive&) const = default;
};

// Tells whether the block device (a path such as "/dev/sdb1") is a removable medium.
using RemovableCheck = std::function<bool(const std::string& device)>;

// The drives of the system. On Windows every drive letter whose drive has a root folder, in
// letter order, typed by GetDriveTypeW. Elsewhere "/" first, then the other volumes in the order
// they were mounted; volumes whose mount point is not a folder (single files bound into a
// container) are left out.
std::vector<Drive> ListDrives();

// The drives described by a mount table in the format of /proc/self/mounts: "/" first (always,
// as a fixed drive), then one entry per mount point that holds user files, in table order. The
// first entry for a mount point wins. Kernel and system file systems, mounts under /proc, /sys,
// /dev and /run (but /run/media is kept) and memory file systems outside /media, /run/media and
// /mnt are left out. A volume under /media, /run/media or /mnt with a FAT, exFAT or NTFS file
// system, or a device that `isRemovable` reports, is removable; without a check only the first
// rule applies. Reads nothing but its arguments.
std::vector<Drive> ParseMounts(std::string_view mountsText, const RemovableCheck& isRemovable = {});

// Whether the system marks the block device's disk as removable (its "removable" flag in
// sysfs); false when that cannot be found out.
bool DeviceIsRemovable(const std::string& device);

}  // namespace morvane::platform
