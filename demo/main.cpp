// The demo: a form holding a tree view filled with a sample project.
//   lxTreeViewDemo                       opens the window
//   lxTreeViewDemo --screenshot FILE     renders the form to FILE and exits
#include <QApplication>
#include <QImage>
#include <QWidget>
#include <cstdio>
#include <cstring>

#include "control/lxTreeViewControl.h"
#include "demo/DemoTree.h"
#include "platform/Forms.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const char* screenshot = nullptr;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--screenshot") == 0)
            screenshot = argv[i + 1];

    int exitCode = 0;
    {
        TForm form(nullptr);
        form.SetCaption("lxTreeView demo");
        form.SetBounds(100, 100, 420, 520);
        auto* tree = new TlxTreeView(&form);
        tree->SetParent(&form);
        tree->SetAlign(alClient);
        form.Show();
        FillDemoTree(tree->Items());
        TlxTreeViewNode* project = tree->Items()->GetFirstNode();
        tree->SetSelection(project->GetFirstChild()->GetFirstChild()->GetFirstChild());
        tree->SetFocus();

        if (screenshot) {
            QWidget* window = WindowWidget(form.Handle());
            QApplication::processEvents();
            QImage image = window->grab().toImage();
            if (!image.save(QString::fromLocal8Bit(screenshot))) {
                std::fprintf(stderr, "Could not write %s\n", screenshot);
                exitCode = 1;
            } else {
                std::printf("%s\n", screenshot);
            }
        } else {
            exitCode = QApplication::exec();
        }
    }
    return exitCode;
}
