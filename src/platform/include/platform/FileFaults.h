#pragma once

// Makes chosen steps of a file write fail as a failing disk would, so that tests reach the code
// that handles it. The program itself never sets a fault.
namespace morvane::platform {

enum class FileFault {
    LockStatus,    // the status of the file just opened for its lock
    InPlaceWrite,  // writing the new (or the restored old) bytes into the file itself
    InPlaceClose,  // closing the file after an in-place rewrite
    DropCopy,      // removing the copy of the old contents after an in-place rewrite
};

// The step fails `count` times with the system error `errorCode` (an errno value) after `skip`
// calls that succeed.
void InjectFileFault(FileFault fault, int errorCode, int skip = 0, int count = 1);
void ClearFileFaults();

}  // namespace morvane::platform
