#pragma once

#include <ostream>

#include "cli/CliCommand.h"
#include "rulesfile/MessageSink.h"
#include "rulesfile/RulesFileAccess.h"
#include "tree/ItemFileAccess.h"
#include "tree/Tree.h"

namespace morvane::cli {

// Shows the core's messages as lines on a stream (stderr).
class StreamMessageSink : public MessageSink {
public:
    explicit StreamMessageSink(std::ostream& stream) : m_stream(stream) {}
    void ShowMessage(const std::string& text, const std::string& /*caption*/) override { m_stream << text << "\n"; }

private:
    std::ostream& m_stream;
};

// Whether the rules file at `path` can be read; a missing one can (it reads as a new, empty
// file). When it cannot (a folder, a pipe, a device, a loop of links, no permission, too
// large), says so and why on stderr.
bool CanReadRulesFile(const CommandContext& context, const std::string& path);

// Says on stderr when an earlier write of the file was cut short and left a copy of its old
// contents: what the file holds now may be incomplete.
void WarnOfInterruptedWrite(const CommandContext& context, const std::string& path);

// What the commands on a rules file share: a tree and the file's access, messages on stderr.
struct RulesSession {
    RulesSession(const CommandContext& context, const std::string& rulesPath)
        : messages(context.err), rules(messages), items(context.catalogue, tree, rules) {
        rules.SetRulesPath(rulesPath);
        readable = CanReadRulesFile(context, rulesPath);
    }
    Tree tree;
    StreamMessageSink messages;
    RulesFileAccess rules;
    ItemFileAccess items;
    bool readable = true;
};

}  // namespace morvane::cli
