// The demo: a window with a tree view filled with a sample project, a File menu to open
// and save trees (.lxt and text), an Edit menu (rename in place with F2, add, delete) and
// an Options menu with the tree's options.
//   lxTreeViewDemo                       opens the window
//   lxTreeViewDemo --screenshot FILE     renders the window to FILE and exits
#include <QApplication>
#include <QImage>
#include <cstdio>
#include <cstring>

#include "control/lxTreeViewControl.h"
#include "demo/DemoWindow.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const char* screenshot = nullptr;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--screenshot") == 0)
            screenshot = argv[i + 1];

    TDemoWindow window;
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    window.Tree()->SetFocus();
    if (!screenshot)
        return QApplication::exec();

    QApplication::processEvents();
    QImage image = window.grab().toImage();
    if (!image.save(QString::fromLocal8Bit(screenshot))) {
        std::fprintf(stderr, "Could not write %s\n", screenshot);
        return 1;
    }
    std::printf("%s\n", screenshot);
    return 0;
}
