#include "app/RulesFileWatch.h"

#include <QFileInfo>

#include "guicommon/FileNames.h"
#include "platform/FileLookup.h"
#include "rulesfile/RulesDocument.h"

using morvane::guicommon::PathToQt;

namespace morvane::app {
namespace {

// Saving programs often touch a file several times in a row (truncate, write, rename): look
// once they are done.
constexpr int kSettleMilliseconds = 150;

}  // namespace

RulesFileWatch::RulesFileWatch(QObject* parent) : QObject(parent) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMilliseconds);
    connect(&m_settle, &QTimer::timeout, this, &RulesFileWatch::Touched);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &RulesFileWatch::OnEvent);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &RulesFileWatch::OnEvent);
}

void RulesFileWatch::Watch(const std::string& path, const RulesDocument& document) {
    if (!m_watcher.files().isEmpty()) m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty()) m_watcher.removePaths(m_watcher.directories());
    m_path = path;
    const QString name = PathToQt(path);
    m_watcher.addPath(QFileInfo(name).absolutePath());
    if (QFileInfo::exists(name)) m_watcher.addPath(name);
    Remember(document);
}

void RulesFileWatch::Remember(const RulesDocument& document) {
    m_known = document.Identity();
    if (!document.Exists()) {
        m_lastContents.reset();
    } else {
        m_lastContents = document.SharedBytes();
    }
}

RulesFileWatch::State RulesFileWatch::Check() const {
    const auto now = platform::IdentifyFile(m_path);
    if (!now) return platform::FindFileNoCase(m_path) == m_path ? State::NotAFile : State::Gone;
    return now == m_known ? State::Unchanged : State::Changed;
}

void RulesFileWatch::OnEvent() {
    // A file replaced by a rename is a new file: watch it again once it is there.
    const QString name = PathToQt(m_path);
    if (!m_watcher.files().contains(name) && QFileInfo::exists(name)) m_watcher.addPath(name);
    m_settle.start();
}

}  // namespace morvane::app
