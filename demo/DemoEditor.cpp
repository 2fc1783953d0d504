// The demo's "Edit items..." command: the item editor on the demo's tree, and a picture
// of it for the offscreen run.
#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

#include "demo/DemoWindow.h"
#include "design/lxTreeViewEditor.h"

void TDemoWindow::EditItems()
{
    try {
        if (PopupEditor(FTree->Items()))
            UpdateStatus();
    } catch (const std::exception& e) {
        ShowError(e);
    }
}

namespace {

// Lets the dialog lay out and paint what its show built.
void Settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// A left click at a point of the window, as the mouse makes it.
void ClickAt(QWidget* window, QPoint at)
{
    QWidget* target = window->childAt(at);
    if (!target)
        return;
    const QPoint local = target->mapFrom(window, at);
    const QPoint global = target->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

} // namespace

// Opens the editor, clicks the tree's second row so that the panel shows a node, saves
// the dialog's picture and cancels it.
bool TDemoWindow::SaveEditorScreenshot(const QString& path)
{
    bool saved = false;
    QTimer::singleShot(0, this, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        Settle();
        ClickAt(dialog, QPoint(60, 40 + FTree->ItemHeight()));
        Settle();
        saved = dialog->grab().toImage().save(path);
        dialog->close();
    });
    EditItems();
    return saved;
}
