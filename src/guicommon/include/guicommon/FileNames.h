#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>
#include <string_view>

// File names cross between Qt and the file system in the file system's own encoding (UTF-8 on
// today's systems), unlike the rules file's text, which is Latin-1 (see Latin1.h). A name such
// as "modés/règles.ini" thus reaches the file system with the bytes it has there.
namespace morvane::guicommon {

inline QString PathToQt(std::string_view path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

inline std::string PathFromQt(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace morvane::guicommon
