// Editing an item's label in place, in an edit box over the label.
#include <QFontMetrics>
#include <QWidget>
#include <cstring>
#include <exception>

#include "platform/win/WindowWidget.h"
#include "platform/tree/NativeTree.h"

namespace lxtree {

namespace {

constexpr int kEditCapacity = 260;

// Destroys the edit box when the edit ends, also when a handler throws.
class TEditBoxDisposal {
public:
    TEditBoxDisposal(HWND tree, HWND edit) : FTree(tree), FEdit(edit) {}
    ~TEditBoxDisposal()
    {
        if (!FEdit)
            return;
        if (GetFocus() == FEdit && IsWindow(FTree))
            SetFocus(FTree);
        DestroyWindow(FEdit);
    }
    TEditBoxDisposal(const TEditBoxDisposal&) = delete;
    TEditBoxDisposal& operator=(const TEditBoxDisposal&) = delete;
    void Keep() { FEdit = nullptr; }

private:
    HWND FTree;
    HWND FEdit;
};

} // namespace

// The edit box exists before TVN_BEGINLABELEDITA goes out, so that the parent can
// fetch it (TVM_GETEDITCONTROL) and subclass it while it decides.
HWND TNativeTreeWindow::EditLabel(TSlot s)
{
    if (FEdit)
        EndEditLabel(false);
    const HTREEITEM handle = FItems.Handle(s);
    if (FItems.Resolve(handle) != s)
        return nullptr;
    EnsureVisible(s);
    const std::string text = ItemText(s);
    if (FItems.Resolve(handle) != s)
        return nullptr;

    HWND edit = CreateWindowExA(0, WC_EDITA, text, WS_CHILD | WS_BORDER, 0, 0, 0, 0, FHwnd, 0);
    if (!edit)
        return nullptr;
    TEditBoxDisposal disposal(FHwnd, edit);
    WNDPROC previous = GetWindowProc(edit);
    SetWindowProc(edit, [this, previous](HWND e, UINT m, WPARAM w, LPARAM l) {
        return EditBoxProc(previous, e, m, w, l);
    });
    SendMessageA(edit, WM_SETFONT, WPARAM(FFont), 0);
    SendMessageA(edit, EM_LIMITTEXT, kEditCapacity - 1, 0);
    FEdit = edit;
    FEditItem = handle;
    PositionEditBox();

    char buffer[kEditCapacity] = {};
    std::strncpy(buffer, text.c_str(), kEditCapacity - 1);
    NMTVDISPINFOA info;
    FillItemRecord(info.item, s);
    info.item.mask |= TVIF_TEXT;
    info.item.pszText = buffer;
    info.item.cchTextMax = kEditCapacity;
    LRESULT refused = 1;
    try {
        refused = Notify(info.hdr, TVN_BEGINLABELEDITA);
    } catch (...) {
        FEdit = nullptr;
        FEditItem = nullptr;
        throw;
    }
    if (refused || FEdit != edit || FItems.Resolve(handle) != s) {
        if (FEdit == edit) {
            FEdit = nullptr;
            FEditItem = nullptr;
        }
        return nullptr;
    }
    disposal.Keep();
    ShowWindow(edit, SW_SHOW);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1); // after the focus, which may move the selection
    return FEdit;
}

// Ends the edit: the parent hears the new text (none for a cancel) and, when it
// agrees, an item with text of its own keeps it.
void TNativeTreeWindow::EndEditLabel(bool cancel)
{
    if (!FEdit)
        return;
    const HWND edit = FEdit;
    const HTREEITEM handle = FEditItem;
    FEdit = nullptr;
    FEditItem = nullptr;
    TEditBoxDisposal disposal(FHwnd, edit);
    const std::string text = GetWindowTextA(edit);
    const TSlot s = FItems.Resolve(handle);
    if (s == kNil)
        return;
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    NMTVDISPINFOA info;
    FillItemRecord(info.item, s);
    info.item.mask |= TVIF_TEXT;
    info.item.pszText = cancel ? nullptr : buffer.data();
    info.item.cchTextMax = cancel ? 0 : int(buffer.size());
    const LRESULT accepted = Notify(info.hdr, TVN_ENDLABELEDITA);
    const TSlot again = FItems.Resolve(handle);
    if (!cancel && accepted && again != kNil && !(FItems[again].flags & TItemSlot::TextCallback)) {
        if (text.empty())
            FItems.ClearText(again);
        else
            FItems.SetText(again, text);
        FCustomLabelWidths.erase(again);
    }
    Invalidate();
}

LRESULT TNativeTreeWindow::EditBoxProc(const WNDPROC& previous, HWND edit, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (edit == FEdit) {
        switch (msg) {
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
                EndEditLabel(wParam == VK_ESCAPE);
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == '\r' || wParam == '\n' || wParam == 0x1B)
                return 0;
            break;
        case WM_KILLFOCUS: {
            const LRESULT result = CallWindowProcA(previous, edit, msg, wParam, lParam);
            EndEditLabel(false);
            return result;
        }
        default: break;
        }
    }
    return CallWindowProcA(previous, edit, msg, wParam, lParam);
}

void TNativeTreeWindow::PositionEditBox()
{
    QWidget* box = WindowWidget(FEdit);
    auto* tree = qobject_cast<TWindowWidget*>(WindowWidget(FHwnd));
    const TSlot s = FItems.Resolve(FEditItem);
    TItemGeometry g;
    if (!box || !tree || !ItemGeometry(s, &g))
        return;
    const QPoint origin = tree->ClientRect().topLeft();
    const int height = std::max(FItemHeight, QFontMetrics(FQFont).height() + 4);
    const int width = std::max(g.labelRight - g.labelLeft + 24, 64);
    const int maxWidth = std::max(32, ClientWidth() - g.labelLeft + 1);
    box->setGeometry(origin.x() + g.labelLeft - 1, origin.y() + g.top + (FItemHeight - height) / 2,
                     std::min(width, maxWidth), height);
}

} // namespace lxtree
