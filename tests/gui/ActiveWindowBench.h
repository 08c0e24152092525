#pragma once

#include <QCoreApplication>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

#include "GuiFixture.h"
#include "app/TreeFilterModel.h"
#include "app/TreeFinder.h"
#include "editor/ControlIds.h"

namespace morvane::test {

// A shown, active window on the example rules file (or on `text`).
struct ActiveBench : WindowBench {
    explicit ActiveBench(const char* text = nullptr) {
        if (text == nullptr)
            WriteExampleRules(rules);
        else
            platform::ReplaceFileAtomically(rules, text);
        Open();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window)) qFatal("the window did not become active");
    }
    void Select(const char* path) { window.SelectItem(Item(path)); }
    QLineEdit* Edit(int id = control::kValueEdit) { return qobject_cast<QLineEdit*>(window.Control(id)); }
    void Type(QWidget* field, const QString& text) {
        field->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
        if (auto* spin = qobject_cast<QSpinBox*>(field)) spin->selectAll();
        QTest::keyClicks(field, text);
        QCoreApplication::processEvents();
    }
    std::string Bytes() { return FileText(rules); }
    // Lets the check that follows a write (or the first paint) run.
    void Settle() {
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
        QTest::qWait(20);
    }
    bool Shown(const char* path) { return window.Finder()->FilterModel()->IndexOf(Item(path)).isValid(); }
};

}  // namespace morvane::test
