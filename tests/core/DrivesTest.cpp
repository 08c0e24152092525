#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "SystemOnly.h"
#include "TempDir.h"
#include "platform/Drives.h"

namespace morvane::platform {

void PrintTo(const Drive& drive, std::ostream* out) {
    *out << "{\"" << drive.rootPath << "\", " << static_cast<int>(drive.type) << "}";
}

namespace {

using enum DriveType;

// A mount table like a desktop's, with a container's and a snap system's extras.
constexpr std::string_view kDesktopTable =
    "sysfs /sys sysfs rw,nosuid,nodev,noexec,relatime 0 0\n"
    "proc /proc proc rw,nosuid,nodev,noexec,relatime 0 0\n"
    "udev /dev devtmpfs rw,nosuid,relatime 0 0\n"
    "devpts /dev/pts devpts rw,nosuid,noexec,relatime 0 0\n"
    "tmpfs /run tmpfs rw,nosuid,nodev,noexec,relatime 0 0\n"
    "/dev/nvme0n1p2 / ext4 rw,relatime 0 0\n"
    "securityfs /sys/kernel/security securityfs rw 0 0\n"
    "tmpfs /dev/shm tmpfs rw,nosuid,nodev 0 0\n"
    "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
    "systemd-1 /proc/sys/fs/binfmt_misc autofs rw 0 0\n"
    "hugetlbfs /dev/hugepages hugetlbfs rw 0 0\n"
    "mqueue /dev/mqueue mqueue rw 0 0\n"
    "/dev/loop3 /snap/core22/864 squashfs ro,nodev,relatime 0 0\n"
    "/dev/nvme0n1p1 /boot/efi vfat rw,relatime 0 0\n"
    "/dev/nvme0n1p3 /home ext4 rw,relatime 0 0\n"
    "tmpfs /tmp tmpfs rw,nosuid,nodev 0 0\n"
    "tmpfs /run/user/1000 tmpfs rw,nosuid,nodev 0 0\n"
    "gvfsd-fuse /run/user/1000/gvfs fuse.gvfsd-fuse rw 0 0\n"
    "/dev/sdb1 /media/user/RA\\040CD\\0401 iso9660 ro 0 0\n"
    "/dev/sdc1 /run/media/user/STICK vfat rw 0 0\n"
    "/dev/sdd1 /mnt/backup ntfs3 rw 0 0\n"
    "/dev/sde1 /media/user/usb-ext4 ext4 rw 0 0\n"
    "server:/export /srv/nfs nfs4 rw 0 0\n"
    "//nas/games /mnt/games cifs rw 0 0\n"
    "user@host:/ /home/user/remote fuse.sshfs rw 0 0\n"
    "tmpfs /mnt/ramdisk tmpfs rw 0 0\n"
    "overlay /var/lib/docker/overlay2/abc/merged overlay rw 0 0\n"
    "nsfs /run/docker/netns/x nsfs rw 0 0\n"
    "/dev/nvme0n1p3 /home ext4 rw,relatime 0 0\n";

TEST(Drives, KeepsTheVolumesOfADesktopAndTellsTheirTypes) {
    const std::vector<Drive> expected = {
        {"/", Fixed},
        {"/boot/efi", Fixed},  // FAT outside the plug-in folders is a fixed disk's part
        {"/home", Fixed},      // listed twice, kept once
        {"/media/user/RA CD 1", CdRom},
        {"/run/media/user/STICK", Removable},
        {"/mnt/backup", Removable},
        {"/media/user/usb-ext4", Fixed},  // the disk does not say it is removable
        {"/srv/nfs", Network},
        {"/mnt/games", Network},
        {"/home/user/remote", Network},
        {"/mnt/ramdisk", RamDisk},
    };
    EXPECT_EQ(ParseMounts(kDesktopTable), expected);
}

TEST(Drives, RemovableFlagOfTheDiskMakesAnyVolumeRemovable) {
    std::vector<std::string> asked;
    const RemovableCheck check = [&](const std::string& device) {
        asked.push_back(device);
        return device == "/dev/sde1" || device == "/dev/disk/by-label/My Stick";
    };
    const std::vector<Drive> drives = ParseMounts(
        "/dev/sda2 /data ext4 rw 0 0\n"
        "/dev/sde1 /media/user/usb-ext4 ext4 rw 0 0\n"
        "/dev/disk/by-label/My\\040Stick /srv/stick btrfs rw 0 0\n"
        "server:/export /srv/nfs nfs rw 0 0\n",
        check);
    EXPECT_EQ(drives, (std::vector<Drive>{{"/", Fixed},
                                          {"/data", Fixed},
                                          {"/media/user/usb-ext4", Removable},
                                          {"/srv/stick", Removable},
                                          {"/srv/nfs", Network}}));
    // Only block devices are asked about, by their unescaped names.
    EXPECT_EQ(asked, (std::vector<std::string>{"/dev/sda2", "/dev/sde1", "/dev/disk/by-label/My Stick"}));
}

TEST(Drives, RootComesFirstOnceWhateverTheTableSays) {
    for (const std::string_view table :
         {"", "\n\n", "/dev/sda1 / ext4 rw 0 0\n", "overlay / overlay rw 0 0\n",
          "/dev/sdb1 /games ext4 rw 0 0\n/dev/sda1 / ext4 rw 0 0\n/dev/sda1 // ext4 rw 0 0"}) {
        const std::vector<Drive> drives = ParseMounts(table);
        ASSERT_FALSE(drives.empty()) << table;
        EXPECT_EQ(drives.front(), (Drive{"/", Fixed})) << table;
        EXPECT_EQ(std::count_if(drives.begin(), drives.end(), [](const Drive& d) { return d.rootPath == "/"; }), 1)
            << table;
    }
}

TEST(Drives, ReadsEscapesAndOddLinesOfTheTable) {
    const struct {
        std::string_view line;
        std::vector<Drive> extra;  // after "/"
    } cases[] = {
        {"/dev/sdb1 /mnt/Red\\040Alert vfat rw 0 0", {{"/mnt/Red Alert", Removable}}},
        {"/dev/sdb1 /mnt/tab\\011and\\134slash ext4 rw 0 0", {{"/mnt/tab\tand\\slash", Fixed}}},
        {"/dev/sdb1 /mnt/a\\04 ext4 rw 0 0", {{"/mnt/a\\04", Fixed}}},    // too short to be an escape
        {"/dev/sdb1 /mnt/a\\089 ext4 rw 0 0", {{"/mnt/a\\089", Fixed}}},  // 8 is not an octal digit
        {"/dev/sdb1 /mnt/a\\777 ext4 rw 0 0", {{"/mnt/a\\777", Fixed}}},  // beyond one byte
        {"/dev/sdb1\t/mnt/tabbed\text4\trw\t0\t0", {{"/mnt/tabbed", Fixed}}},
        {"  /dev/sdb1   /mnt/spaced   ext4 rw 0 0\r", {{"/mnt/spaced", Fixed}}},
        {"/dev/sdb1 /mnt/no-options ext4", {{"/mnt/no-options", Fixed}}},
        {"/dev/sdb1 /mnt/two-fields", {}},
        {"/dev/sdb1 relative/path ext4 rw 0 0", {}},
        {"/dev/sdb1 /mnt/slash/ ext4 rw 0 0", {{"/mnt/slash", Fixed}}},
    };
    for (const auto& c : cases) {
        std::vector<Drive> expected{{"/", Fixed}};
        expected.insert(expected.end(), c.extra.begin(), c.extra.end());
        EXPECT_EQ(ParseMounts(c.line), expected) << c.line;
    }
}

TEST(Drives, LeavesOutSystemPlacesButNotTheirLookAlikes) {
    const struct {
        std::string_view line;
        bool kept;
    } cases[] = {
        {"/dev/sdb1 /run/media/u/DISK ext4 rw 0 0", true},
        {"/dev/sdb1 /run/mediastore ext4 rw 0 0", false},  // under /run, not under /run/media
        {"/dev/sdb1 /proceeds ext4 rw 0 0", true},
        {"/dev/sdb1 /system ext4 rw 0 0", true},
        {"/dev/sdb1 /devel ext4 rw 0 0", true},
        {"/dev/sdb1 /runtime ext4 rw 0 0", true},
        {"/dev/sdb1 /sys/firmware ext4 rw 0 0", false},
        {"tmpfs /media/ram tmpfs rw 0 0", true},
        {"ramfs /run/media/u/ram ramfs rw 0 0", true},
        {"tmpfs /mediadata tmpfs rw 0 0", false},
        {"tmpfs /var/tmp tmpfs rw 0 0", false},
        {"/dev/sr0 /srv/cd udf ro 0 0", true},
        {"myfs /data fuse.something rw 0 0", false},  // not a disk and not a known network system
        {"/dev/loop0 /snap/x squashfs ro 0 0", false},
        {"cgroup /mnt/cgroup-test cgroup rw 0 0", false},
        {"binfmt_misc /mnt/binfmt binfmt_misc rw 0 0", false},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseMounts(c.line).size(), c.kept ? 2u : 1u) << c.line;
}

TEST(Drives, ListOfThisSystemStartsWithRootAndHoldsFoldersOnly) {
    MORVANE_POSIX_ONLY("Windows lists drive letters");
    const std::vector<Drive> drives = ListDrives();
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives.front(), (Drive{"/", Fixed}));
    std::set<std::string> seen;
    for (const Drive& drive : drives) {
        EXPECT_TRUE(seen.insert(drive.rootPath).second) << drive.rootPath;
        EXPECT_TRUE(std::filesystem::is_directory(drive.rootPath)) << drive.rootPath;
        for (const char* system : {"/proc/", "/sys/", "/dev/"}) EXPECT_NE(drive.rootPath.rfind(system, 0), 0u);
    }
}

TEST(Drives, WindowsListsDriveRootsInLetterOrder) {
    MORVANE_WINDOWS_ONLY("only Windows has drive letters");
    const std::vector<Drive> drives = ListDrives();
    ASSERT_FALSE(drives.empty());
    for (std::size_t i = 0; i < drives.size(); ++i) {
        const std::string& root = drives[i].rootPath;
        ASSERT_EQ(root.size(), 3u) << root;
        EXPECT_TRUE(root[0] >= 'A' && root[0] <= 'Z' && root.substr(1) == ":\\") << root;
        if (i > 0) {
            EXPECT_LT(drives[i - 1].rootPath, root);
        }
    }
    // The drive the tests run from is there, as the kind of drive it is.
    const std::string current = std::filesystem::current_path().root_name().string() + "\\";
    EXPECT_TRUE(std::any_of(drives.begin(), drives.end(), [&](const Drive& d) { return d.rootPath == current; }))
        << current;
}

TEST(Drives, DeviceThatIsNoBlockDeviceIsNotRemovable) {
    test::TempDir dir;
    std::ofstream(dir.File("disk.img")) << "not a disk";
    for (const std::string& device : {dir.File("disk.img"), dir.File("missing"), dir.Path().string(), std::string()})
        EXPECT_FALSE(DeviceIsRemovable(device)) << device;
}

}  // namespace
}  // namespace morvane::platform
