#include <QApplication>
#include <QTest>

#include "FindingsViewTest.h"
#include "MainWindowTest.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    int failures = 0;
    morvane::test::MainWindowTest mainWindow;
    failures += QTest::qExec(&mainWindow, argc, argv);
    morvane::test::DialogsTest dialogs;
    failures += QTest::qExec(&dialogs, argc, argv);
    morvane::test::FindingsViewTest findings;
    failures += QTest::qExec(&findings, argc, argv);
    return failures == 0 ? 0 : 1;
}
