// Construction, window creation and the properties that live in the native window.
#include <QWidget>
#include <cstring>

#include "control/lxTreeViewControl.h"
#include "platform/tree/CommCtrlInit.h"

namespace {

// Options that the window takes at once or that only the control reads; changing any
// other option makes a new window, since the window reads it only when it is made.
constexpr TTreeOptions LiveOrStoredOptions{
    roAutoExpand,       roAutoEraseBackground, roAutoScroll,  roCheckSupport, roHideSelection, roLevelSelection,
    roMultiSelect,      roRightClickSelect,    roShowButtons, roShowLines,    roShowRoot,      roVerifyData};

// The window style an option stands for: set while the option is present, or (for the
// inverted ones) while it is absent. Live styles are changed on the running window.
struct TOptionStyle {
    TTreeOption Option;
    DWORD Style;
    bool SetWhenPresent;
    bool Live;
};
constexpr TOptionStyle OptionStyles[] = {
    {roShowLines, TVS_HASLINES, true, true},           {roShowRoot, TVS_LINESATROOT, true, true},
    {roShowButtons, TVS_HASBUTTONS, true, true},       {roHideSelection, TVS_SHOWSELALWAYS, false, true},
    {roAutoExpand, TVS_SINGLEEXPAND, true, true},      {roHotTrack, TVS_TRACKSELECT, true, false},
    {roToolTips, TVS_NOTOOLTIPS, false, false},        {roNoScroll, TVS_NOSCROLL, true, false},
    {roRowSelect, TVS_FULLROWSELECT, true, false},
};

DWORD StyleOfOptions(TTreeOptions Options)
{
    DWORD style = 0;
    for (const TOptionStyle& s : OptionStyles)
        if (Options.Contains(s.Option) == s.SetWhenPresent)
            style |= s.Style;
    return style;
}

} // namespace

TCustomlxTreeView::TCustomlxTreeView(TComponent* AOwner) : TWinControl(AOwner)
{
    SetControlStyle(ControlStyle() + TControlStyle{csCaptureMouse, csDisplayDragImage, csReflector});
    SetBounds(Left(), Top(), 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
    SetParentColor(false);
    FItems = std::make_unique<TlxTreeViewNodes>(this);
    FExpandTimer = std::make_unique<TTimer>(nullptr);
    FExpandTimer->SetEnabled(false);
    FExpandTimer->SetInterval(1000);
    FExpandTimer->OnTimer = [this](TObject* Sender) { DoDragExpand(Sender); };
    FScrollTimer = std::make_unique<TTimer>(nullptr);
    FScrollTimer->SetEnabled(false);
    FScrollTimer->SetInterval(300);
    FScrollTimer->OnTimer = [this](TObject* Sender) { DoScroll(Sender); };
    FChangeDelayTimer = std::make_unique<TTimer>(nullptr);
    FChangeDelayTimer->SetEnabled(false);
    FChangeDelayTimer->SetInterval(0);
    FChangeDelayTimer->OnTimer = [this](TObject* Sender) { OnChangeTimer(Sender); };
    FBorderStyle = bsSingle;
    FDragImage = std::make_unique<TImageList>(nullptr, 32, 32);
    FSavedIndent = -1;
    FSavedItemHeight = -1;
    FOptions = DefaultOptions;
    FControlCanvas = std::make_unique<TCanvas>();
    FEditWndProc = [this](HWND, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
        TMessage message{Msg, WParam, LParam, 0};
        EditWndProc(message);
        return message.Result;
    };
    FImagesLink = std::make_unique<TChangeLink>();
    FImagesLink->OnChange = [this](TObject* Sender) { ImageListChange(Sender); };
    FStateImagesLink = std::make_unique<TChangeLink>();
    FStateImagesLink->OnChange = [this](TObject* Sender) { ImageListChange(Sender); };
    FSelectedColor = clHighlight;
    FDropSelectedColor = clBtnFace;
    FUnfocusedSelectedColor = clBtnFace;
    FMarkColor = clBtnFace;
}

TCustomlxTreeView::~TCustomlxTreeView()
{
    FDestroying = true;
    FChangeDelayTimer->SetEnabled(false);
    // The window goes first: its item deletions reach the collection and the timer,
    // which must still be alive then. This is no recreation: OnDeletion fires per node.
    DestroyChildControls();
    if (HandleAllocated())
        DestroyWindowHandle();
    SetImages(nullptr);
    SetStateImages(nullptr);
    FItems.reset();
}

void TCustomlxTreeView::CreateParams(TCreateParams& Params)
{
    InitCommonControl(ICC_TREEVIEW_CLASSES);
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, WC_TREEVIEWA);
    DWORD style = TVS_EDITLABELS | StyleOfOptions(FOptions);
    if (DragMode() == dmManual)
        style |= TVS_DISABLEDRAGDROP;
    style |= WS_CLIPCHILDREN;
    if (FBorderStyle == bsSingle)
        style |= WS_BORDER;
    Params.Style |= style;
    if (Ctl3D() && FBorderStyle == bsSingle)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    Params.ClassStyle &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomlxTreeView::WndProc(TMessage& Message)
{
    // With automatic dragging a left press goes straight to the handlers, so that the
    // tree's own press handling runs rather than an immediate drag start.
    const bool leftPress = Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK;
    if (leftPress && DragMode() == dmAutomatic && !ComponentState().Contains(csDesigning)) {
        SetControlState(ControlState() + TControlState{csLButtonDown});
        Dispatch(Message);
        return;
    }
    TWinControl::WndProc(Message);
}

void TCustomlxTreeView::FontChanged(TObject*)
{
    if (!HandleAllocated())
        return;
    SendMessageA(Handle(), WM_SETFONT, WPARAM(Font()->Handle()), MAKELPARAM(1, 0));
    SendMessageA(Handle(), TVM_SETTEXTCOLOR, 0, LPARAM(ColorToRGB(Font()->Color())));
}

void TCustomlxTreeView::SetStyle(DWORD Value, bool UseStyle)
{
    if (!HandleAllocated())
        return;
    LONG_PTR style = GetWindowLongA(Handle(), GWL_STYLE);
    style = UseStyle ? (style | LONG_PTR(Value)) : (style & ~LONG_PTR(Value));
    SetWindowLongA(Handle(), GWL_STYLE, style);
}

void TCustomlxTreeView::SetDragMode(TDragMode Value)
{
    if (Value != DragMode())
        SetStyle(TVS_DISABLEDRAGDROP, Value == dmManual);
    TWinControl::SetDragMode(Value);
}

void TCustomlxTreeView::SetOptions(TTreeOptions Value)
{
    if (Value.Contains(roRowSelect))
        Value.Exclude(roShowLines);
    const TTreeOptions added = Value - FOptions;
    const TTreeOptions removed = FOptions - Value;
    for (const TOptionStyle& s : OptionStyles) {
        if (s.Live && added.Contains(s.Option))
            SetStyle(s.Style, s.SetWhenPresent);
        if (s.Live && removed.Contains(s.Option))
            SetStyle(s.Style, !s.SetWhenPresent);
    }
    if (removed.Contains(roMultiSelect))
        ClearSelection();
    FOptions = Value;
    if (!((added + removed) - LiveOrStoredOptions).Empty())
        RecreateTreeWindow();
}

void TCustomlxTreeView::SetSortType(TSortType Value)
{
    if (FSortType == Value)
        return;
    FSortType = Value;
    if (Value != stNone)
        AlphaSort();
}

void TCustomlxTreeView::SetBorderStyle(TBorderStyle Value)
{
    if (FBorderStyle == Value)
        return;
    FBorderStyle = Value;
    RecreateTreeWindow();
}

void TCustomlxTreeView::SetSelectedColor(TColor Value)
{
    if (FSelectedColor == Value)
        return;
    FSelectedColor = Value;
    Repaint();
}

void TCustomlxTreeView::SetUnfocusedSelectedColor(TColor Value)
{
    if (FUnfocusedSelectedColor == Value)
        return;
    FUnfocusedSelectedColor = Value;
    Repaint();
}

void TCustomlxTreeView::SetDropSelectedColor(TColor Value)
{
    if (FDropSelectedColor == Value)
        return;
    FDropSelectedColor = Value;
    Repaint();
}

void TCustomlxTreeView::SetMarkColor(TColor Value)
{
    SendMessageA(Handle(), TVM_SETINSERTMARKCOLOR, 0, LPARAM(ColorToRGB(Value)));
    FMarkColor = Value;
}

void TCustomlxTreeView::SetlxTreeViewNodes(TlxTreeViewNodes* Value) { FItems->Assign(Value); }

int TCustomlxTreeView::GetChangeDelay() const { return int(FChangeDelayTimer->Interval()); }

void TCustomlxTreeView::SetChangeDelay(int Value) { FChangeDelayTimer->SetInterval(unsigned(std::max(0, Value))); }

int TCustomlxTreeView::GetIndent() { return int(SendMessageA(Handle(), TVM_GETINDENT, 0, 0)); }

void TCustomlxTreeView::SetIndent(int Value)
{
    if (Value != GetIndent())
        SendMessageA(Handle(), TVM_SETINDENT, WPARAM(Value), 0);
}

std::int8_t TCustomlxTreeView::GetItemHeight()
{
    auto height = std::int8_t(SendMessageA(Handle(), TVM_GETITEMHEIGHT, 0, 0));
    if (height == 0)
        if (TlxTreeViewNode* first = FItems->GetFirstNode()) {
            RECT r = first->DisplayRect(false);
            height = std::int8_t(r.bottom - r.top);
        }
    return height;
}

void TCustomlxTreeView::SetItemHeight(std::int8_t Value)
{
    if (Value < 1)
        Value = -1;
    SendMessageA(Handle(), TVM_SETITEMHEIGHT, WPARAM(LPARAM(Value)), 0);
}

int TCustomlxTreeView::GetScrollDelayTime()
{
    FScrollDelayTime = int(SendMessageA(Handle(), TVM_GETSCROLLTIME, 0, 0));
    return FScrollDelayTime;
}

void TCustomlxTreeView::SetScrollDelayTime(int Value)
{
    if (Value == FScrollDelayTime)
        return;
    FScrollDelayTime = std::max(Value, 100);
    SendMessageA(Handle(), TVM_SETSCROLLTIME, WPARAM(FScrollDelayTime), 0);
}

std::string TCustomlxTreeView::GetSearchString()
{
    const auto length = int(SendMessageA(Handle(), TVM_GETISEARCHSTRINGA, 0, 0));
    if (length < 1)
        return std::string();
    std::string text(std::size_t(length) + 1, '\0');
    SendMessageA(Handle(), TVM_GETISEARCHSTRINGA, 0, LPARAM(text.data()));
    text.resize(std::strlen(text.c_str()));
    return text;
}

HWND TCustomlxTreeView::GetToolTips() { return reinterpret_cast<HWND>(SendMessageA(Handle(), TVM_GETTOOLTIPS, 0, 0)); }

void TCustomlxTreeView::SetToolTips(HWND Value) { SendMessageA(Handle(), TVM_SETTOOLTIPS, WPARAM(Value), 0); }

TlxTreeViewNode* TCustomlxTreeView::NodeOfItem(HTREEITEM Item) const { return FItems->GetNode(Item); }

TlxTreeViewNode* TCustomlxTreeView::GetSelection() const
{
    if (!HandleAllocated())
        return nullptr;
    if (FOptions.Contains(roRightClickSelect) && FRightClickNode && FRightClickNode != RightClickMarker())
        return FRightClickNode;
    HWND h = const_cast<TCustomlxTreeView*>(this)->Handle();
    return NodeOfItem(reinterpret_cast<HTREEITEM>(SendMessageA(h, TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TCustomlxTreeView::SetSelection(TlxTreeViewNode* Node)
{
    SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, LPARAM(Node ? Node->ItemId() : nullptr));
}

TlxTreeViewNode* TCustomlxTreeView::GetTopItem() const
{
    if (!HandleAllocated())
        return nullptr;
    HWND h = const_cast<TCustomlxTreeView*>(this)->Handle();
    return NodeOfItem(reinterpret_cast<HTREEITEM>(SendMessageA(h, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
}

void TCustomlxTreeView::SetTopItem(TlxTreeViewNode* Node)
{
    if (HandleAllocated() && Node)
        SendMessageA(Handle(), TVM_SELECTITEM, TVGN_FIRSTVISIBLE, LPARAM(Node->ItemId()));
}

TlxTreeViewNode* TCustomlxTreeView::GetLastVisibleNode()
{
    return NodeOfItem(reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_LASTVISIBLE, 0)));
}

TlxTreeViewNode* TCustomlxTreeView::GetNodeAt(int X, int Y)
{
    TVHITTESTINFO info;
    info.pt = POINT{X, Y};
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_HITTEST, 0, LPARAM(&info)));
    return item ? NodeOfItem(item) : nullptr;
}

THitTests TCustomlxTreeView::GetHitTestInfoAt(int X, int Y)
{
    TVHITTESTINFO info;
    info.pt = POINT{X, Y};
    SendMessageA(Handle(), TVM_HITTEST, 0, LPARAM(&info));
    THitTests result;
    const UINT f = info.flags;
    if (f & TVHT_ABOVE)
        result.Include(htAbove);
    if (f & TVHT_BELOW)
        result.Include(htBelow);
    if (f & TVHT_NOWHERE)
        result.Include(htNowhere);
    if (f & TVHT_ONITEM)
        result.Include(htOnItem);
    if (f & TVHT_ONITEMBUTTON)
        result.Include(htOnButton);
    if (f & TVHT_ONITEMICON)
        result.Include(htOnIcon);
    if (f & TVHT_ONITEMINDENT)
        result.Include(htOnIndent);
    if (f & TVHT_ONITEMLABEL)
        result.Include(htOnLabel);
    if (f & TVHT_ONITEMRIGHT)
        result.Include(htOnRight);
    if (f & TVHT_ONITEMSTATEICON)
        result.Include(htOnStateIcon);
    if (f & TVHT_TOLEFT)
        result.Include(htToLeft);
    if (f & TVHT_TORIGHT)
        result.Include(htToRight);
    return result;
}

bool TCustomlxTreeView::IsEditing()
{
    auto edit = reinterpret_cast<HWND>(SendMessageA(Handle(), TVM_GETEDITCONTROL, 0, 0));
    return edit && IsWindowVisible(edit);
}

void TCustomlxTreeView::FullExpand()
{
    for (TlxTreeViewNode* node = FItems->GetFirstNode(); node; node = node->GetNextSibling())
        node->Expand(true);
}

void TCustomlxTreeView::FullCollapse()
{
    for (TlxTreeViewNode* node = FItems->GetFirstNode(); node; node = node->GetNextSibling())
        node->Collapse(true);
}

void TCustomlxTreeView::SetCheckImage(TlxTreeViewNode* Node, int ImageIndex)
{
    if (Node && FOptions.Contains(roCheckSupport))
        Node->SetStateIndex(ImageIndex);
}
