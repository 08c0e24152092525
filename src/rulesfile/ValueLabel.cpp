#include "rulesfile/ValueLabel.h"

#include "common/TextOps.h"
#include "platform/FileAccess.h"
#include "platform/ProfileApi.h"

namespace morvane {

std::string MakeValueLabel(std::string_view key, const std::optional<std::string>& value) {
    std::string label(key);
    if (value) label += " = " + *value;
    return label;
}

ValueLabelParts SplitValueLabel(std::string_view label) {
    const Split split = SplitAtFirst(label, '=');
    return {std::string(Trim(split.before)), std::string(Trim(split.after)), split.found};
}

std::string KeyOfLabel(std::string_view label) { return std::string(TrimRight(SplitAtFirst(label, '=').before)); }

std::string SaveFailureMessage(int error, std::string_view section, std::string_view key, const std::string& path) {
    std::string message = "Unable To Save Changes, Error NUmber: " + std::to_string(error) + " \n[" +
                          std::string(section) + "]" + std::string(key);
    // A refused write's reason is the writer's to give: it knows the value.
    if (error != 0 && error != platform::kErrorInvalidParameter)
        message += "\n" + platform::DescribeFileError(error, path);
    return message;
}

}  // namespace morvane
