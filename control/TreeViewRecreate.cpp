// Making and remaking the native window. While a window is remade the whole tree
// waits in a memory stream, with the top and selected nodes, the indent and the
// item height, and comes back into the new window.
#include "control/lxTreeViewControl.h"

void TCustomlxTreeView::CreateWnd()
{
    FRecreating = false;
    TWinControl::CreateWnd();
    TFirstError error;
    error.Run([this] { RestoreSavedTree(); });
    error.Run([this] { ApplyWindowSettings(); });
    error.RethrowIfAny();
}

void TCustomlxTreeView::ApplyWindowSettings()
{
    if (FSavedIndent != -1)
        SetIndent(FSavedIndent);
    if (FSavedItemHeight != -1)
        SetItemHeight(std::int8_t(FSavedItemHeight));
    if (FImages && FImages->HandleAllocated())
        SetImageList(FImages->Handle(), TVSIL_NORMAL);
    if (FStateImages && FStateImages->HandleAllocated())
        SetImageList(FStateImages->Handle(), TVSIL_STATE);
    else if (TImageList* shared = SharedCheckImages())
        SetImageList(shared->Handle(), TVSIL_STATE);
    SendMessageA(Handle(), TVM_SETSCROLLTIME, WPARAM(FScrollDelayTime), 0);
    GetScrollDelayTime();
    FontChanged(nullptr);
    // The window paints its background in the control's colour; the window colour
    // itself stays the system's, so that it follows the desktop.
    SendMessageA(Handle(), TVM_SETBKCOLOR, 0, Color() == clWindow ? LPARAM(CLR_NONE) : LPARAM(ColorToRGB(Color())));
    SendMessageA(Handle(), CCM_SETUNICODEFORMAT, 0, 0);
    // Every new window starts with the default insertion-mark colour.
    SetMarkColor(clBtnFace);
}

// Reads the tree back from the saved stream, which goes whatever happens. When a
// handler raises on the way, the tree is read once more with the events quiet so that
// it comes back whole, and the handler's exception is passed on.
void TCustomlxTreeView::RestoreSavedTree()
{
    if (!FSavedStream)
        return;
    const std::unique_ptr<TMemoryStream> stream = std::move(FSavedStream);
    TFirstError error;
    try {
        FItems->ReadData(stream.get());
    } catch (...) {
        error.Keep(std::current_exception());
        stream->Seek(0, soBeginning);
        ReadSavedTreeQuietly(stream.get());
    }
    const int count = FItems->Count();
    if (FSavedTopIndex < count)
        error.Run([this] { SetTopItem(FItems->GetNodeFromIndex(FSavedTopIndex)); });
    if (FSavedSelectedIndex < count)
        error.Run([this] { SetSelection(FItems->GetNodeFromIndex(FSavedSelectedIndex)); });
    FSavedTopIndex = 0;
    FSavedSelectedIndex = 0;
    error.RethrowIfAny();
}

void TCustomlxTreeView::ReadSavedTreeQuietly(TStream* Stream)
{
    FQuietEvents = true;
    // What the failed reading left is dropped like the items of a window that goes:
    // without deletion events.
    FRecreating = true;
    try {
        FItems->Clear();
        FRecreating = false;
        FItems->ReadData(Stream);
    } catch (...) {
        FRecreating = false;
        FQuietEvents = false;
        throw;
    }
    FQuietEvents = false;
}

void TCustomlxTreeView::DestroyWnd()
{
    FRecreating = true;
    try {
        SaveTreeForRecreation();
    } catch (...) {
        FSavedStream.reset();
        FRecreating = false;
        throw;
    }
    TWinControl::DestroyWnd();
    if (!FInRecreate)
        FPendingError.RethrowIfAny();
}

void TCustomlxTreeView::SaveTreeForRecreation()
{
    if (FItems->Count() > 0) {
        FSavedStream = std::make_unique<TMemoryStream>();
        FItems->WriteData(FSavedStream.get());
        FSavedStream->Seek(0, soBeginning);
        if (TlxTreeViewNode* top = GetTopItem())
            FSavedTopIndex = top->AbsoluteIndex();
        if (TlxTreeViewNode* selected = GetSelection())
            FSavedSelectedIndex = selected->AbsoluteIndex();
    }
    FSavedIndent = GetIndent();
    FSavedItemHeight = GetItemHeight();
}

// The nodes are collapsed before the window goes; then the native tree deletes its
// items and the nodes are freed without events. A handler that raises meanwhile
// cannot stop the window's destruction; its exception waits until the window is
// remade (or gone, when no new window follows).
void TCustomlxTreeView::WMDestroy(TMessage& Message)
{
    StopDragState();
    if (FDestroying) {
        DefaultHandler(Message);
        return;
    }
    FPendingError.Run([this] { FullCollapse(); });
    const bool wasQuiet = std::exchange(FQuietEvents, FRecreating);
    FPendingError.Run([&] { DefaultHandler(Message); });
    FQuietEvents = wasQuiet;
}

void TCustomlxTreeView::RecreateTreeWindow()
{
    FInRecreate = true;
    try {
        RecreateWnd();
    } catch (...) {
        FInRecreate = false;
        FPendingError.Take();
        throw;
    }
    FInRecreate = false;
    FPendingError.RethrowIfAny();
}

void TCustomlxTreeView::CMColorChanged(TMessage& Message)
{
    TWinControl::Dispatch(Message);
    RecreateTreeWindow();
}

void TCustomlxTreeView::CMCtl3DChanged(TMessage& Message)
{
    TWinControl::Dispatch(Message);
    if (FBorderStyle == bsSingle)
        RecreateTreeWindow();
}
