// The published properties of TlxTreeView, as a form stores them.
//
// Indent and ItemHeight live in the native window and have no declared default. They are
// stored when the control has its window and the value differs from what a new native
// window with the control's style, font and image lists reports; a control without a
// window has those native values. ScrollDelayTime also lives in the window: without one
// it is its default, 300 ms; with one it is stored when it differs from 300 and is at
// least 100. The setter raises smaller values to 100, so a smaller one was never set by
// the application: it is the window's own starting value, which reading must not replace.
// Events are read (their handlers named), never written; image list references are not stored.
#include <mutex>

#include "control/TreeViewPublished.h"
#include "control/lxTreeViewControl.h"
#include "platform/framework/PublishedControls.h"

namespace {

struct TNativeDefaults {
    int Indent = 0;
    int ItemHeight = 0;
};

// Asks a new native window, made like the control's, for its indent and item height.
TNativeDefaults NativeDefaultsOf(TCustomlxTreeView* Tree)
{
    const HWND window = Tree->Handle();
    const DWORD treeStyles = DWORD(GetWindowLongA(window, GWL_STYLE)) & 0xFFFF;
    HWND probe = CreateWindowExA(0, WC_TREEVIEWA, "", treeStyles, 0, 0, 0, 0, nullptr, 0);
    TNativeDefaults defaults;
    if (!probe)
        return defaults;
    SendMessageA(probe, WM_SETFONT, WPARAM(Tree->Font()->Handle()), 0);
    for (WPARAM list : {TVSIL_NORMAL, TVSIL_STATE})
        SendMessageA(probe, TVM_SETIMAGELIST, list, SendMessageA(window, TVM_GETIMAGELIST, list, 0));
    defaults.Indent = int(SendMessageA(probe, TVM_GETINDENT, 0, 0));
    defaults.ItemHeight = int(SendMessageA(probe, TVM_GETITEMHEIGHT, 0, 0));
    DestroyWindow(probe);
    return defaults;
}

constexpr int DefaultScrollDelayTime = 300;
constexpr int SmallestScrollDelayTime = 100;

// The tree view's own events, which form streams name by their handlers.
void PublishTreeEvents(TClassPublisher<TlxTreeView>& p)
{
    using C = TlxTreeView;
    p.Event("OnAutoExpanded", &C::OnAutoExpanded)
        .Event("OnChange", &C::OnChange)
        .Event("OnChanging", &C::OnChanging)
        .Event("OnChecked", &C::OnChecked)
        .Event("OnChecking", &C::OnChecking)
        .Event("OnCollapsed", &C::OnCollapsed)
        .Event("OnCollapsing", &C::OnCollapsing)
        .Event("OnCompare", &C::OnCompare)
        .Event("OnCustomDraw", &C::OnCustomDraw)
        .Event("OnCustomDrawItem", &C::OnCustomDrawItem)
        .Event("OnDeletion", &C::OnDeletion)
        .Event("OnEdited", &C::OnEdited)
        .Event("OnEditing", &C::OnEditing)
        .Event("OnExpanded", &C::OnExpanded)
        .Event("OnExpanding", &C::OnExpanding)
        .Event("OnGetImageIndex", &C::OnGetImageIndex)
        .Event("OnGetSelectedIndex", &C::OnGetSelectedIndex)
        .Event("OnHint", &C::OnHint);
}

void Publish()
{
    using C = TlxTreeView;
    TClassPublisher<C> p("TlxTreeView", "", [](TComponent* Owner) -> TComponent* { return new TlxTreeView(Owner); });
    PublishWinControlProperties(p);
    // The tree view's own defaults for the framework's properties.
    p.Color("Color", &C::Color, &C::SetColor, clWindow)
        .StoredWhen([](C* c) { return !c->ParentColor(); })
        .Boolean("ParentColor", &C::ParentColor, &C::SetParentColor, false)
        .Boolean("TabStop", &C::TabStop, &C::SetTabStop, true);
    // Settings that make a new window come first, so that the window-held ones after them
    // land in the final window.
    p.Enumeration("BorderStyle", &C::BorderStyle, &C::SetBorderStyle, bsSingle, bsSingle + 1)
        .Set("Options", &C::Options, &C::SetOptions, DefaultTreeOptions, AllTreeOptionBits)
        .Integer("ChangeDelay", &C::ChangeDelay, &C::SetChangeDelay, 0)
        .Color("DropSelectedColor", &C::DropSelectedColor, &C::SetDropSelectedColor, clBtnFace)
        .Integer("Indent", [](C* c) { return c->HandleAllocated() ? c->Indent() : 0; }, &C::SetIndent, std::nullopt)
        .StoredWhen([](C* c) { return c->HandleAllocated() && c->Indent() != NativeDefaultsOf(c).Indent; })
        .Integer("ItemHeight", [](C* c) { return c->HandleAllocated() ? int(c->ItemHeight()) : 0; },
                 [](C* c, int v) { c->SetItemHeight(std::int8_t(v)); }, std::nullopt)
        .StoredWhen([](C* c) { return c->HandleAllocated() && c->ItemHeight() != NativeDefaultsOf(c).ItemHeight; })
        .Color("MarkColor", &C::MarkColor, &C::SetMarkColor, clBtnFace)
        .Integer("ScrollDelayTime",
                 [](C* c) { return c->HandleAllocated() ? c->ScrollDelayTime() : DefaultScrollDelayTime; },
                 &C::SetScrollDelayTime, DefaultScrollDelayTime)
        .StoredWhen([](C* c) {
            return !c->HandleAllocated() || c->ScrollDelayTime() >= SmallestScrollDelayTime;
        })
        .Color("SelectedColor", &C::SelectedColor, &C::SetSelectedColor, clHighlight)
        .Enumeration("SortType", &C::SortType, &C::SetSortType, stNone, stBoth + 1)
        .Color("UnfocusedSelectedColor", &C::UnfocusedSelectedColor, &C::SetUnfocusedSelectedColor, clBtnFace)
        // The nodes last: the options and the window settings above govern how they are read.
        .Object("Items", &C::Items);
    PublishTreeEvents(p);
}

// Streamable as soon as the library is loaded.
[[maybe_unused]] const bool Published = (PublishlxTreeView(), true);

} // namespace

void PublishlxTreeView()
{
    static std::once_flag once;
    std::call_once(once, Publish);
}
