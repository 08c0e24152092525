#pragma once

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <string>

#include "ScriptedPrompts.h"
#include "app/CMainDlg.h"
#include "platform/FileAccess.h"
#include "platform/FileLookup.h"
#include "schema/CatalogueFile.h"
#include "schema/DefaultRulesFile.h"
#include "tree/TreePath.h"

namespace morvane::test {

// Points QSettings at a fresh temporary folder and clears the settings of section "Setting".
class TemporarySettings {
public:
    TemporarySettings() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
        QSettings(QStringLiteral("Morvane"), QStringLiteral("Morvane")).clear();
    }
    static void Set(const char* name, const QString& value) {
        QSettings store(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
        store.setValue(QStringLiteral("Setting/") + QLatin1String(name), value);
    }
    static QString Get(const char* name) {
        return QSettings(QStringLiteral("Morvane"), QStringLiteral("Morvane"))
            .value(QStringLiteral("Setting/") + QLatin1String(name))
            .toString();
    }

private:
    QTemporaryDir m_dir;
};

// Keeps the process's current folder and puts it back at the end (Properties may change it).
class CurrentFolder {
public:
    CurrentFolder() : m_saved(platform::CurrentDirectory().value_or("/")) {}
    ~CurrentFolder() { platform::ChangeDirectory(m_saved); }

private:
    std::string m_saved;
};

inline std::string Path(const QTemporaryDir& dir, const char* name) { return (dir.path() + "/" + name).toStdString(); }

inline void WriteExampleRules(const std::string& path) {
    platform::ReplaceFileAtomically(path, MakeDefaultRulesFile(BuiltInCatalogue()));
}

// Changes one of the paths the window was given, as the program's start hands them over.
inline void SetPath(app::CMainDlg& window, std::string app::WindowPaths::*member, std::string value) {
    app::WindowPaths paths = window.Paths();
    paths.*member = std::move(value);
    window.SetPaths(std::move(paths));
}

inline std::string FileText(const std::string& path) { return platform::ReadFileBytes(path).value_or("<missing>"); }

// A main window on `rules`, a file in a temporary folder, with settings in a temporary place and
// every prompt scripted. Open() shows the window on the file, which the caller writes first.
struct WindowBench {
    void Open() {
        SetPath(window, &app::WindowPaths::rulesPath, rules);
        if (!window.OnInitDialog()) qFatal("the rules file did not open");
        window.show();
    }
    TreeItem Item(const char* path) {
        const TreeItem item = FindItemByPath(window.NavigationTree(), path);
        if (item == kNoItem) qFatal("no item %s", path);
        return item;
    }

    TemporarySettings settings;
    QTemporaryDir dir;
    std::string rules = Path(dir, "rules.ini");
    ScriptedPrompts prompts;
    app::CMainDlg window{BuiltInCatalogue(), prompts};
};

inline bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace morvane::test
