// A main window for benchmarks: settings in a temporary place, every prompt answered with
// "cancel", the rules file in a temporary folder. Each is made once and kept until
// `CloseWindowBenches()`, which main() calls while the QApplication still exists.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "app/CMainDlg.h"
#include "guicommon/UserPrompts.h"
#include "schema/CatalogueFile.h"

namespace morvane::bench {

class NoPrompts : public guicommon::UserPrompts {
public:
    void ShowMessage(QWidget*, const QString&, const QString&, QMessageBox::Icon) override {}
    QMessageBox::StandardButton Ask(QWidget*, const QString&, const QString&, QMessageBox::StandardButtons) override {
        return QMessageBox::Cancel;
    }
    QString ChooseOpenFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString ChooseSaveFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    int Exec(QDialog&) override { return QDialog::Rejected; }
};

// Points QSettings at a temporary folder for the whole run, so that no benchmark touches the
// user's settings.
inline void UseTemporarySettings() {
    static QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
}

// This process's resident memory now ("VmRSS") or at its peak ("VmHWM"), in MiB.
inline double StatusMiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1)) / 1024.0;
    return 0;
}

// What this process holds now, in MiB: its resident memory once the allocator has handed back
// the free blocks it keeps for reuse. Those cached blocks (glibc keeps large freed buffers in its
// heap after the first few) make the plain resident size grow with every Apply although nothing
// is kept.
inline double HeldMiB() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    return StatusMiB("VmRSS");
}

struct WindowBench {
    explicit WindowBench(const std::string& bytes) {
        UseTemporarySettings();
        std::ofstream(rules, std::ios::binary) << bytes;
        window.SetPaths(app::WindowPaths::ForFile(rules));
        if (!window.OnInitDialog()) std::abort();
        window.show();
        QApplication::processEvents();
    }

    QTemporaryDir dir;
    std::string rules = (dir.path() + QStringLiteral("/rules.ini")).toStdString();
    NoPrompts prompts;
    app::CMainDlg window{BuiltInCatalogue(), prompts};
    double heldMiB = 0;  // what the process grew by while the window opened its file
};

inline std::map<std::string, std::unique_ptr<WindowBench>>& WindowBenches() {
    static std::map<std::string, std::unique_ptr<WindowBench>> benches;
    return benches;
}

// The window kept under `name`, made from `bytes()` on first use.
template <typename MakeBytes>
WindowBench& KeptWindow(const std::string& name, MakeBytes bytes) {
    auto& kept = WindowBenches()[name];
    if (!kept) {
        const std::string made = bytes();
        const double before = HeldMiB();
        kept = std::make_unique<WindowBench>(made);
        kept->heldMiB = HeldMiB() - before;
    }
    return *kept;
}

// Closes every window and removes its folder; the windows must go before the QApplication.
inline void CloseWindowBenches() { WindowBenches().clear(); }

}  // namespace morvane::bench
