#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>

#include "platform/FileAccess.h"

namespace morvane {
class RulesDocument;
}

namespace morvane::app {

// Keeps an eye on the rules file the window shows. It remembers the file as the window last
// read or wrote it, and tells whether the file on disk is still that one. The file and its
// folder are both watched: a program that saves by writing a new file and renaming it over the
// old one leaves the old file's watch behind, and only the folder sees the new one arrive.
class RulesFileWatch : public QObject {
    Q_OBJECT
public:
    enum class State {
        Unchanged,  // the file is the one the window shows
        Changed,    // another program changed or replaced it
        Gone,       // it was deleted or moved away
        NotAFile,   // the path names a folder, a device or a pipe now
    };

    explicit RulesFileWatch(QObject* parent = nullptr);

    // Starts watching `path` and remembers the file as `document` holds it.
    void Watch(const std::string& path, const RulesDocument& document);
    // The file as `document` holds it is what the window shows (after the window's own write
    // or a reload); the document's identity and bytes are taken, the file is not read again.
    void Remember(const RulesDocument& document);
    State Check() const;

    const std::string& Path() const { return m_path; }
    // The bytes of the file when it was last remembered; what a deleted file can be made from.
    // Shared with the document that held them, not copied.
    const std::shared_ptr<const std::string>& LastContents() const { return m_lastContents; }

signals:
    // Something happened to the file or its folder; sent once things have settled a moment.
    void Touched();

private:
    void OnEvent();

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    std::string m_path;
    std::optional<platform::FileIdentity> m_known;
    std::shared_ptr<const std::string> m_lastContents;
};

}  // namespace morvane::app
