#include "rulesfile/SaveFailureMessage.h"

#include "platform/FileAccess.h"
#include "platform/ProfileApi.h"

namespace morvane {

namespace {
std::string FirstLine(int error) { return "Unable To Save Changes, Error NUmber: " + std::to_string(error) + " \n"; }
}  // namespace

std::string SaveFailureMessage(int error, std::string_view section, std::string_view key, const std::string& path) {
    std::string message = FirstLine(error) + "[" + std::string(section) + "]" + std::string(key);
    // A refused write's reason is the writer's to give: it knows the value.
    if (error != 0 && error != platform::kErrorInvalidParameter)
        message += "\n" + platform::DescribeFileError(error, path);
    return message;
}

std::string SaveFailureMessage(int error, const std::string& path) {
    return FirstLine(error) + platform::DescribeFileError(error, path);
}

}  // namespace morvane
