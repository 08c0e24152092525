#include "rulesfile/ValueLabel.h"

#include "common/TextOps.h"
#include "platform/FileAccess.h"
#include "platform/ProfileApi.h"

namespace morvane {

std::string SaveFailureMessage(int error, std::string_view section, std::string_view key, const std::string& path) {
    std::string message = "Unable To Save Changes, Error NUmber: " + std::to_string(error) + " \n[" +
                          std::string(section) + "]" + std::string(key);
    // A refused write's reason is the writer's to give: it knows the value.
    if (error != 0 && error != platform::kErrorInvalidParameter)
        message += "\n" + platform::DescribeFileError(error, path);
    return message;
}

}  // namespace morvane
