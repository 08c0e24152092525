#pragma once

#include <string>
#include <vector>

#include "rulesfile/MessageSink.h"

namespace morvane::test {

// Keeps every message the core shows, for the test to look at.
class RecordingMessageSink : public MessageSink {
public:
    struct Message {
        std::string text;
        std::string caption;
    };
    void ShowMessage(const std::string& text, const std::string& caption) override {
        messages.push_back({text, caption});
    }
    std::vector<Message> messages;
};

}  // namespace morvane::test
