#include "cli/ArgumentReading.h"

#include "cli/RulesSession.h"
#include "platform/FileAccess.h"

namespace morvane::cli {

bool ExpectArgs(const CommandContext& context, const char* name, const char* usage, std::size_t count) {
    if (context.args.size() == count) return true;
    context.err << "usage: morvane-cli " << name << " " << usage << "\n";
    return false;
}

std::optional<std::uint16_t> ParseId(const std::string& text) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const unsigned long value = std::stoul(text);
    if (value > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

bool CanReadRulesFile(const CommandContext& context, const std::string& path) {
    const platform::FileReadResult read = platform::ReadRegularFile(path);
    // A file that does not exist yet reads as empty (`set` creates it); a missing folder is left to
    // the write, which reports it as a failed save.
    if (read.bytes || platform::LastFileFailure().problem == platform::FileProblem::Missing) return true;
    context.err << "morvane-cli: " << platform::DescribeReadFailure(read.error, path) << "\n";
    return false;
}

void WarnOfInterruptedWrite(const CommandContext& context, const std::string& path) {
    if (const auto copy = platform::InterruptedWriteCopy(path))
        context.err << "morvane-cli: warning: "
                    << platform::DescribeFileFailure(
                           {platform::kErrorInterruptedWrite, platform::FileProblem::None, *copy}, path)
                    << "\n";
}

}  // namespace morvane::cli
