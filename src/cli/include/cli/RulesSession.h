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

// What the commands on a rules file share: a tree and the file's access, messages on stderr.
struct RulesSession {
    RulesSession(const CommandContext& context, const std::string& rulesPath)
        : messages(context.err), rules(messages), items(context.catalogue, tree, rules) {
        rules.SetRulesPath(rulesPath);
    }
    Tree tree;
    StreamMessageSink messages;
    RulesFileAccess rules;
    ItemFileAccess items;
};

}  // namespace morvane::cli
