#pragma once

#include <QString>
#include <string>
#include <string_view>

// Text crosses between the core (8-bit bytes, as the rules file holds them) and the widgets
// as Latin-1, so every byte of the file comes back unchanged.
namespace morvane::guicommon {

inline QString ToQt(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string FromQt(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace morvane::guicommon
