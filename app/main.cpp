// Quarn 3D: from a coloured contour map to a shaded 3D terrain.
#include <QApplication>
#include <cstring>
#include <iostream>

#include "qt_png_writer.h"
#include "qt_presenters.h"
#include "startup.h"

int main(int argc, char** argv) {
    // Answered before the toolkit starts, so it works without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "quarn3d " QUARN_VERSION "\n";
        return 0;
    }
    QApplication app(argc, argv);
    quarn::InstallQtPresenters();
    quarn::InstallQtPngWriter();
    // A Cancel at the start notice ends the program before the loop waits for input.
    if (!quarn::StartUp())
        return 0;
    return QApplication::exec();
}
