// The window's own reaction to keys and the mouse: navigation, incremental search,
// expansion, selection, begin-drag reports, clicks and focus.
#include <QApplication>
#include <QTimer>

#include "platform/tree/NativeTree.h"

namespace lxtree {

namespace {
constexpr qint64 kSearchTimeoutMs = 1000;

bool IsNavigationKey(WORD vk)
{
    switch (vk) {
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT: return true;
    default: return false;
    }
}

// Keys that act by themselves; the character that follows them is not searched for.
bool IsActingKey(WORD vk)
{
    return vk == VK_ADD || vk == VK_SUBTRACT || vk == VK_MULTIPLY || vk == VK_RETURN || vk == VK_BACK ||
           vk == VK_ESCAPE;
}

bool IsOnItem(UINT flags, DWORD style)
{
    if (flags & TVHT_ONITEM)
        return true;
    return (style & TVS_FULLROWSELECT) && (flags & (TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT));
}
} // namespace

void TNativeTreeWindow::OnKeyDown(WORD vk)
{
    NMTVKEYDOWN key;
    key.wVKey = vk;
    Notify(key.hdr, TVN_KEYDOWN);
    FSkipChar = IsActingKey(vk);
    const TSlot caret = FCaret;
    if (caret == kNil) {
        // Without a caret the first navigation key picks the top item.
        if (IsNavigationKey(vk))
            SelectByUser(FTop != kNil ? FTop : FItems[kRoot].firstChild, TVC_BYKEYBOARD);
        if (vk == VK_RETURN)
            NotifyReturn();
    } else if (IsNavigationKey(vk)) {
        MoveCaretByKey(vk, caret);
    } else {
        ActOnCaret(vk, caret);
    }
}

TSlot TNativeTreeWindow::WalkVisible(TSlot s, int steps, bool down) const
{
    for (int i = 0; i < steps; ++i) {
        const TSlot next = down ? FItems.NextVisible(s) : FItems.PrevVisible(s);
        if (next == kNil)
            break;
        s = next;
    }
    return s;
}

// The arrows, Page Up and Down, Home and End: Left and Right close and open first.
void TNativeTreeWindow::MoveCaretByKey(WORD vk, TSlot caret)
{
    const int page = std::max(1, PageRows() - 1);
    switch (vk) {
    case VK_UP:
    case VK_DOWN:
        if (GetKeyState(VK_CONTROL) < 0)
            ScrollRows(vk == VK_UP ? -1 : 1);
        else
            SelectByUser(WalkVisible(caret, 1, vk == VK_DOWN), TVC_BYKEYBOARD);
        break;
    case VK_PRIOR: SelectByUser(WalkVisible(caret, page, false), TVC_BYKEYBOARD); break;
    case VK_NEXT: SelectByUser(WalkVisible(caret, page, true), TVC_BYKEYBOARD); break;
    case VK_HOME: SelectByUser(FItems[kRoot].firstChild, TVC_BYKEYBOARD); break;
    case VK_END: SelectByUser(FItems.LastVisible(), TVC_BYKEYBOARD); break;
    case VK_LEFT:
        if (FItems[caret].Expanded() && ItemHasChildren(caret))
            ExpandByUser(caret, TVE_COLLAPSE);
        else if (FItems[caret].parent != kRoot)
            SelectByUser(FItems[caret].parent, TVC_BYKEYBOARD);
        break;
    case VK_RIGHT:
        if (!FItems[caret].Expanded() && ItemHasChildren(caret))
            ExpandByUser(caret, TVE_EXPAND);
        else if (IsLiveItem(caret) && FItems[caret].Expanded() && FItems[caret].firstChild != kNil)
            SelectByUser(FItems[caret].firstChild, TVC_BYKEYBOARD);
        break;
    default: break;
    }
}

// Backspace, the keypad's +, - and *, Enter and F2.
void TNativeTreeWindow::ActOnCaret(WORD vk, TSlot caret)
{
    switch (vk) {
    case VK_BACK:
        if (FItems[caret].parent != kRoot)
            SelectByUser(FItems[caret].parent, TVC_BYKEYBOARD);
        break;
    case VK_ADD: ExpandByUser(caret, TVE_EXPAND); break;
    case VK_SUBTRACT: ExpandByUser(caret, TVE_COLLAPSE); break;
    case VK_MULTIPLY: ExpandAllBelow(caret); break;
    case VK_RETURN: NotifyReturn(); break;
    case VK_F2:
        if (FStyle & TVS_EDITLABELS)
            EditLabel(caret);
        break;
    default: break;
    }
}

void TNativeTreeWindow::NotifyReturn()
{
    NMHDR hdr;
    Notify(hdr, NM_RETURN);
}

void TNativeTreeWindow::OnChar(char32_t c)
{
    if (FSkipChar) {
        FSkipChar = false;
        return;
    }
    if (c < 0x20 || c == 0x7F)
        return;
    IncrementalSearch(c);
}

// Typed characters build a prefix that selects the next visible item starting with
// it; a pause ends the search. Repeating one character cycles through the items
// that start with it.
void TNativeTreeWindow::IncrementalSearch(char32_t c)
{
    if (FSearchClock.isValid() && FSearchClock.elapsed() > kSearchTimeoutMs)
        FSearch.clear();
    FSearchClock.restart();
    const QString typed = QString::fromUcs4(&c, 1);
    bool repeat = !FSearch.isEmpty();
    for (int i = 0; i < FSearch.size() && repeat; i += typed.size())
        repeat = FSearch.mid(i, typed.size()).compare(typed, Qt::CaseInsensitive) == 0;
    FSearch += typed;

    TSlot start = FCaret;
    QString prefix = FSearch;
    if (FSearch.size() == typed.size() || repeat) {
        prefix = typed;
        if (start != kNil)
            start = FItems.NextVisible(start);
    }
    if (start == kNil)
        start = FItems[kRoot].firstChild;
    const TSlot found = FindByPrefix(start, prefix);
    if (found != kNil)
        SelectByUser(found, TVC_BYKEYBOARD);
    else
        Beep();
}

TSlot TNativeTreeWindow::FindByPrefix(TSlot start, const QString& prefix)
{
    TSlot s = start;
    while (s != kNil) {
        const HTREEITEM handle = FItems.Handle(s);
        const QString text = QString::fromUtf8(ItemText(s).c_str());
        if (FItems.Resolve(handle) != s)
            return kNil;
        if (text.startsWith(prefix, Qt::CaseInsensitive))
            return s;
        s = FItems.NextVisible(s);
        if (s == kNil)
            s = FItems[kRoot].firstChild;
        if (s == start)
            break;
    }
    return kNil;
}

LRESULT TNativeTreeWindow::GetSearchString(char* buffer)
{
    if (FSearchClock.isValid() && FSearchClock.elapsed() > kSearchTimeoutMs)
        FSearch.clear();
    const QByteArray text = FSearch.toUtf8();
    if (buffer) {
        std::copy(text.begin(), text.end(), buffer);
        buffer[text.size()] = '\0';
    }
    return LRESULT(text.size());
}

void TNativeTreeWindow::OnButtonDown(bool right, WPARAM keys, POINT pt)
{
    if (FEdit)
        EndEditLabel(false);
    FEditTimer->stop();
    HideToolTip();
    const bool hadFocus = FFocused;
    SetFocus(FHwnd);
    TVHITTESTINFO info;
    info.pt = pt;
    const HTREEITEM h = HitTest(info);
    const TSlot s = FItems.Resolve(h);
    const bool onItem = s != kNil && IsOnItem(info.flags, FStyle);
    FPressed = true;
    FPressRight = right;
    FPressPoint = QPoint(pt.x, pt.y);
    FPressItem = onItem ? h : nullptr;
    FDragReported = false;
    if (right) {
        NMHDR hdr;
        if (Notify(hdr, NM_RCLICK) == 0 && IsWindow(FHwnd)) {
            POINT screen = pt;
            ClientToScreen(FHwnd, &screen);
            if (HWND parent = GetParent(FHwnd))
                SendMessageA(parent, WM_CONTEXTMENU, WPARAM(FHwnd), MAKELPARAM(screen.x, screen.y));
        }
        return;
    }
    if (info.flags & TVHT_ONITEMBUTTON) {
        ExpandByUser(s, TVE_TOGGLE);
        return;
    }
    if (!onItem)
        return;
    if (s != FCaret) {
        SelectByUser(s, TVC_BYMOUSE);
        return;
    }
    if ((FStyle & TVS_SINGLEEXPAND) && !(keys & MK_CONTROL))
        ExpandByUser(s, TVE_TOGGLE);
    if ((FStyle & TVS_EDITLABELS) && (info.flags & TVHT_ONITEMLABEL) && hadFocus && IsLiveItem(FItems.Resolve(h)))
        ArmLabelEditTimer(FItems.Resolve(h));
}

void TNativeTreeWindow::OnButtonUp(bool right, POINT)
{
    if (!FPressed || FPressRight != right)
        return;
    FPressed = false;
    FPressItem = nullptr;
    if (!FDragReported && !right) {
        NMHDR hdr;
        Notify(hdr, NM_CLICK);
    }
}

void TNativeTreeWindow::OnDoubleClick(POINT pt)
{
    FEditTimer->stop();
    FPressed = false;
    TVHITTESTINFO info;
    info.pt = pt;
    const HTREEITEM h = HitTest(info);
    NMHDR hdr;
    if (Notify(hdr, NM_DBLCLK) != 0)
        return;
    const TSlot s = FItems.Resolve(h);
    if (s != kNil && IsOnItem(info.flags, FStyle))
        ExpandByUser(s, TVE_TOGGLE);
}

void TNativeTreeWindow::OnMouseMove(WPARAM keys, POINT pt)
{
    TVHITTESTINFO info;
    info.pt = pt;
    const HTREEITEM h = HitTest(info);
    const TSlot s = FItems.Resolve(h);
    if (FStyle & TVS_TRACKSELECT)
        SetHotItem(s != kNil && (info.flags & TVHT_ONITEM) ? s : kNil);
    TrackToolTip(s != kNil && (info.flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON)) ? s : kNil);

    const WPARAM button = FPressRight ? MK_RBUTTON : MK_LBUTTON;
    if (!FPressed || !FPressItem || FDragReported || !(keys & button) || (FStyle & TVS_DISABLEDRAGDROP))
        return;
    const QPoint moved = QPoint(pt.x, pt.y) - FPressPoint;
    if (moved.manhattanLength() >= QApplication::startDragDistance())
        BeginDrag(FPressRight);
}

void TNativeTreeWindow::BeginDrag(bool right)
{
    FDragReported = true;
    FEditTimer->stop();
    const TSlot s = FItems.Resolve(FPressItem);
    if (s == kNil)
        return;
    NotifyTreeView(right ? TVN_BEGINRDRAGA : TVN_BEGINDRAGA, 0, kNil, s, POINT{FPressPoint.x(), FPressPoint.y()});
}

void TNativeTreeWindow::OnMouseLeave()
{
    SetHotItem(kNil);
    HideToolTip();
}

void TNativeTreeWindow::SetHotItem(TSlot s)
{
    if (s == FHot)
        return;
    InvalidateItem(FHot);
    FHot = s;
    InvalidateItem(s);
}

void TNativeTreeWindow::OnFocus(bool focused)
{
    FFocused = focused;
    Invalidate();
    NMHDR hdr;
    Notify(hdr, focused ? NM_SETFOCUS : NM_KILLFOCUS);
}

void TNativeTreeWindow::ArmLabelEditTimer(TSlot s)
{
    FEditTimerItem = FItems.Handle(s);
    FEditTimer->start(QApplication::doubleClickInterval());
}

} // namespace lxtree
