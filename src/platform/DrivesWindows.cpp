#include "WindowsApi.h"
#include "platform/Drives.h"

namespace morvane::platform {

std::vector<Drive> ListDrives() {
    std::vector<Drive> drives;
    const DWORD letters = GetLogicalDrives();
    for (int index = 0; index < 26; ++index) {
        if ((letters & (DWORD{1} << index)) == 0) continue;
        const std::string root = std::string(1, static_cast<char>('A' + index)) + ":\\";
        const wchar_t wideRoot[] = {static_cast<wchar_t>(L'A' + index), L':', L'\\', L'\0'};
        switch (GetDriveTypeW(wideRoot)) {
            case DRIVE_FIXED:
                drives.push_back({root, DriveType::Fixed});
                break;
            case DRIVE_REMOVABLE:
                drives.push_back({root, DriveType::Removable});
                break;
            case DRIVE_REMOTE:
                drives.push_back({root, DriveType::Network});
                break;
            case DRIVE_CDROM:
                drives.push_back({root, DriveType::CdRom});
                break;
            case DRIVE_RAMDISK:
                drives.push_back({root, DriveType::RamDisk});
                break;
            default:  // no root folder, or a kind the system does not know
                break;
        }
    }
    return drives;
}

}  // namespace morvane::platform
