#include "platform/tree/CommCtrlInit.h"

#include <QToolTip>
#include <QWidget>

#include "platform/win/CommCtrl.h"
#include "platform/win/WinApi.h"
#include "platform/tree/EditBox.h"
#include "platform/tree/NativeTree.h"

namespace {

// The tooltip window only carries the handle that TVM_GETTOOLTIPS hands out; the
// tip itself is shown with QToolTip.
LRESULT ToolTipClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == TTM_POP) {
        QToolTip::hideText();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

QWidget* CreateToolTipWidget(HWND, QWidget* parent)
{
    auto* widget = new QWidget(parent);
    widget->hide();
    return widget;
}

bool RegisterOnce(const char* name, WNDPROC proc, WIDGETFACTORY factory)
{
    if (GetClassInfoA(name, nullptr))
        return true;
    WNDCLASSA wc;
    wc.lpszClassName = name;
    wc.lpfnWndProc = std::move(proc);
    wc.createWidget = std::move(factory);
    return RegisterClassA(wc);
}

} // namespace

bool InitCommonControl(int classes)
{
    if (!(classes & ICC_TREEVIEW_CLASSES))
        return false;
    bool ok = RegisterOnce(WC_TREEVIEWA, &lxtree::TNativeTreeWindow::ClassProc, {});
    ok = RegisterOnce(WC_EDITA, &lxtree::EditBoxClassProc, &lxtree::CreateEditBoxWidget) && ok;
    ok = RegisterOnce(TOOLTIPS_CLASSA, &ToolTipClassProc, &CreateToolTipWidget) && ok;
    return ok;
}
