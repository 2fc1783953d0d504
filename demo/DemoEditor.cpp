// The demo's "Edit items..." command: the item editor on the demo's tree, and a picture
// of it for the offscreen run.
#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

#include "demo/DemoWindow.h"
#include "design/lxTreeViewEditor.h"
#include "platform/win/WindowWidget.h"

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

// A left click on a node's label, as the mouse makes it on the tree's window.
void ClickNode(TlxTreeView* Tree, TlxTreeViewNode* Node)
{
    auto* view = static_cast<TWindowWidget*>(WindowWidget(Tree->Handle()));
    const RECT label = Node->DisplayRect(true);
    const QPoint local =
        view->ClientRect().topLeft() + QPoint((label.left + label.right) / 2, (label.top + label.bottom) / 2);
    const QPoint global = view->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view, &release);
}

// The item editor whose window is the modal one now.
TlxTreeViewEditor* ModalEditor()
{
    return dynamic_cast<TlxTreeViewEditor*>(ActiveModalForm());
}

} // namespace

// Opens the editor, clicks the tree's second node so that the panel shows a node, saves
// the dialog's picture and cancels it.
bool TDemoWindow::SaveEditorScreenshot(const QString& path)
{
    bool saved = false;
    QTimer::singleShot(0, this, [&] {
        TlxTreeViewEditor* editor = ModalEditor();
        if (!editor)
            return;
        QWidget* dialog = WindowWidget(editor->Handle());
        Settle();
        if (TlxTreeViewNode* second = editor->Tree->Items()->GetFirstNode()->GetNext())
            ClickNode(editor->Tree, second);
        Settle();
        saved = dialog->grab().toImage().save(path);
        dialog->close();
    });
    EditItems();
    return saved;
}
