// The demo: a window with a multi-selection tree view filled with a sample project
// (check boxes, radio buttons and value buttons in the settings), a File menu to open
// and save trees (.lxt and text), an Edit menu (rename in place with F2, add, delete the
// selected nodes, select all, the item editor), an Options menu with the tree's options, a popup menu per
// node on a right click, and the number of selected nodes in the status bar.
//   lxTreeViewDemo                       opens the window
//   lxTreeViewDemo --screenshot FILE     renders the window to FILE and exits
//   lxTreeViewDemo --pdf FILE            prints the tree into the PDF file FILE (with
//                                        --screenshot: before the screenshot)
//   lxTreeViewDemo --editor-screenshot FILE
//                                        renders the item editor, opened on the tree,
//                                        to FILE (before the --screenshot picture)
//   lxTreeViewDemo --trace               also prints where the nodes are on the screen
//                                        and every check and selection change
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
    const char* pdf = nullptr;
    const char* editorShot = nullptr;
    bool trace = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc)
            screenshot = argv[i + 1];
        if (std::strcmp(argv[i], "--editor-screenshot") == 0 && i + 1 < argc)
            editorShot = argv[i + 1];
        if (std::strcmp(argv[i], "--pdf") == 0 && i + 1 < argc)
            pdf = argv[i + 1];
        trace = trace || std::strcmp(argv[i], "--trace") == 0;
    }

    TDemoWindow window;
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    window.Tree()->SetFocus();
    if (trace) {
        QApplication::processEvents();
        window.TraceTo(stdout);
    }
    if (pdf) {
        QApplication::processEvents();
        window.ExportPdfTo(pdf);
        std::printf("%s\n", pdf);
    }
    if (editorShot) {
        QApplication::processEvents();
        if (!window.SaveEditorScreenshot(QString::fromLocal8Bit(editorShot))) {
            std::fprintf(stderr, "Could not write %s\n", editorShot);
            return 1;
        }
        std::printf("%s\n", editorShot);
    }
    if (!screenshot)
        return pdf || editorShot ? 0 : QApplication::exec();

    QApplication::processEvents();
    QImage image = window.grab().toImage();
    if (!image.save(QString::fromLocal8Bit(screenshot))) {
        std::fprintf(stderr, "Could not write %s\n", screenshot);
        return 1;
    }
    std::printf("%s\n", screenshot);
    return 0;
}
