#pragma once

#include <string>

namespace morvane {

// Where the core shows a message to the user: a message box in the window, stderr on the
// command line, a recording in the tests.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // A modal message with one OK button; `caption` is its title.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
};

}  // namespace morvane
