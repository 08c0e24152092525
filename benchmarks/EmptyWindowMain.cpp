// The yardstick of the editor's start-up: an empty Qt dialog of the given size, shown and
// painted once, then the program ends.
//   morvane_empty_window WIDTH HEIGHT
#include <QApplication>
#include <QDialog>
#include <cstdlib>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const int width = argc > 2 ? std::atoi(argv[1]) : 800;
    const int height = argc > 2 ? std::atoi(argv[2]) : 600;
    QDialog dialog;
    dialog.resize(width, height);
    dialog.show();
    QCoreApplication::processEvents();
    return 0;
}
