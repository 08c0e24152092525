#include <QApplication>
#include <QTest>

#include "FileSafetyTest.h"
#include "FindingsViewTest.h"
#include "MainWindowTest.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    int failures = 0;
    morvane::test::MainWindowTest mainWindow;
    failures += QTest::qExec(&mainWindow, argc, argv);
    morvane::test::WorkflowTest workflow;
    failures += QTest::qExec(&workflow, argc, argv);
    morvane::test::DialogsTest dialogs;
    failures += QTest::qExec(&dialogs, argc, argv);
    morvane::test::FileSafetyTest fileSafety;
    failures += QTest::qExec(&fileSafety, argc, argv);
    morvane::test::FindingsViewTest findings;
    failures += QTest::qExec(&findings, argc, argv);
    return failures == 0 ? 0 : 1;
}
