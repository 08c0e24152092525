#pragma once

#include <ostream>

#include "rulesfile/MessageSink.h"

namespace morvane::cli {

// Shows the core's messages as lines on a stream (stderr).
class StreamMessageSink : public MessageSink {
public:
    explicit StreamMessageSink(std::ostream& stream) : m_stream(stream) {}
    void ShowMessage(const std::string& text, const std::string& /*caption*/) override { m_stream << text << "\n"; }

private:
    std::ostream& m_stream;
};

}  // namespace morvane::cli
