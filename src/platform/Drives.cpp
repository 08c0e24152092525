#include "platform/Drives.h"

#include <sys/stat.h>
#include <sys/types.h>
#if defined(__linux__)
#include <sys/sysmacros.h>
#endif

#include <algorithm>
#include <array>
#include <initializer_list>

#include "platform/FileAccess.h"

namespace morvane::platform {
namespace {

bool IsOneOf(std::string_view value, std::initializer_list<std::string_view> choices) {
    return std::find(choices.begin(), choices.end(), value) != choices.end();
}

// True when `path` is `folder` itself or lies inside it.
bool IsUnder(std::string_view path, std::string_view folder) {
    return path.starts_with(folder) && (path.size() == folder.size() || path[folder.size()] == '/');
}

bool IsUnderAny(std::string_view path, std::initializer_list<std::string_view> folders) {
    return std::any_of(folders.begin(), folders.end(), [&](std::string_view folder) { return IsUnder(path, folder); });
}

// The mount table writes a blank, tab, line break and backslash in a name as "\" and three
// octal digits; anything else after a backslash is kept as it stands.
std::string Unescape(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
            if (isOctal(field[i + 1]) && isOctal(field[i + 2]) && isOctal(field[i + 3])) {
                const int value = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
                if (value <= 0xff) {
                    out += static_cast<char>(value);
                    i += 3;
                    continue;
                }
            }
        }
        out += field[i];
    }
    return out;
}

// The first three blank-separated fields of a line: device, mount point, file system type.
bool SplitLine(std::string_view line, std::array<std::string_view, 3>& fields) {
    std::size_t position = 0;
    for (std::string_view& field : fields) {
        while (position < line.size() && (line[position] == ' ' || line[position] == '\t')) ++position;
        const std::size_t start = position;
        while (position < line.size() && line[position] != ' ' && line[position] != '\t') ++position;
        if (start == position) return false;
        field = line.substr(start, position - start);
    }
    return true;
}

// File systems of the kernel and the system's own plumbing, never a place for user files.
bool IsSystemFileSystem(std::string_view type) {
    if (type.starts_with("cgroup")) return true;
    return IsOneOf(type,
                   {"proc",        "sysfs", "devtmpfs",        "devpts",      "securityfs", "debugfs",      "tracefs",
                    "pstore",      "bpf",   "mqueue",          "hugetlbfs",   "configfs",   "fusectl",      "autofs",
                    "binfmt_misc", "nsfs",  "rpc_pipefs",      "efivarfs",    "selinuxfs",  "overlay",      "squashfs",
                    "devfs",       "nfsd",  "fuse.gvfsd-fuse", "fuse.portal", "fuse.lxcfs", "fuse.snapfuse"});
}

bool IsNetworkFileSystem(std::string_view type) {
    return IsOneOf(type, {"nfs", "nfs4", "cifs", "smb3", "smbfs", "sshfs", "fuse.sshfs", "9p", "afs", "ceph", "davfs",
                          "fuse.davfs2", "glusterfs", "fuse.glusterfs", "fuse.rclone"});
}

// Whether the mount point lies in a folder where desktops mount the volumes a user plugs in.
bool IsUserVolumeFolder(std::string_view mountPoint) {
    return IsUnderAny(mountPoint, {"/media", "/run/media", "/mnt"});
}

}  // namespace

std::vector<Drive> ParseMounts(std::string_view mountsText, const RemovableCheck& isRemovable) {
    std::vector<Drive> drives{{"/", DriveType::Fixed}};
    std::size_t lineStart = 0;
    while (lineStart < mountsText.size()) {
        std::size_t lineEnd = mountsText.find('\n', lineStart);
        if (lineEnd == std::string_view::npos) lineEnd = mountsText.size();
        const std::string_view line = mountsText.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;

        std::array<std::string_view, 3> fields;
        if (!SplitLine(line, fields)) continue;
        const std::string device = Unescape(fields[0]);
        std::string mountPoint = Unescape(fields[1]);
        const std::string_view type = fields[2];

        while (mountPoint.size() > 1 && mountPoint.back() == '/') mountPoint.pop_back();
        if (mountPoint.empty() || mountPoint.front() != '/' || mountPoint == "/") continue;
        if (IsUnderAny(mountPoint, {"/proc", "/sys", "/dev"})) continue;
        if (IsUnder(mountPoint, "/run") && !IsUnder(mountPoint, "/run/media")) continue;
        if (IsSystemFileSystem(type)) continue;
        const bool userVolume = IsUserVolumeFolder(mountPoint);

        DriveType driveType;
        if (IsNetworkFileSystem(type)) {
            driveType = DriveType::Network;
        } else if (IsOneOf(type, {"iso9660", "udf"})) {
            driveType = DriveType::CdRom;
        } else if (IsOneOf(type, {"tmpfs", "ramfs"})) {
            // /tmp, /dev/shm and the like are scratch space of the system, not drives.
            if (!userVolume) continue;
            driveType = DriveType::RamDisk;
        } else if (device.starts_with("/dev/")) {
            const bool stickFormat = IsOneOf(type, {"vfat", "msdos", "exfat", "ntfs", "ntfs3", "fuseblk"});
            driveType = (userVolume && stickFormat) || (isRemovable && isRemovable(device)) ? DriveType::Removable
                                                                                            : DriveType::Fixed;
        } else {
            continue;  // not backed by a disk: some other kind of virtual file system
        }

        const bool seen =
            std::any_of(drives.begin(), drives.end(), [&](const Drive& drive) { return drive.rootPath == mountPoint; });
        if (!seen) drives.push_back({std::move(mountPoint), driveType});
    }
    return drives;
}

bool DeviceIsRemovable(const std::string& device) {
#if defined(__linux__)
    // The device number leads to the disk's sysfs folder whatever name the device was mounted
    // by (a /dev/disk/by-uuid link, a mapper name). A partition has no flag of its own; the
    // flag belongs to the disk that holds it, which is the folder above.
    struct stat info {};
    if (stat(device.c_str(), &info) != 0 || !S_ISBLK(info.st_mode)) return false;
    const std::string folder =
        "/sys/dev/block/" + std::to_string(major(info.st_rdev)) + ":" + std::to_string(minor(info.st_rdev));
    const std::string flagPath = FileExists(folder + "/partition") ? folder + "/../removable" : folder + "/removable";
    const auto flag = ReadFileBytes(flagPath);
    return flag && flag->starts_with("1");
#else
    (void)device;
    return false;
#endif
}

}  // namespace morvane::platform
