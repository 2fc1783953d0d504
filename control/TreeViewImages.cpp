// The control's image lists, and the check glyph list that all tree views share.
#include "control/lxTreeViewControl.h"

namespace {

struct TUnitState {
    int InitCount = 0;
    TImageList* CheckImages = nullptr;
};

TUnitState& Unit()
{
    static TUnitState state;
    return state;
}

// The library initialises the unit once when it is loaded and finalises it at exit.
struct TUnitLoader {
    TUnitLoader() { InitializelxTreeViewUnit(); }
    ~TUnitLoader() { FinalizelxTreeViewUnit(); }
} UnitLoader;

} // namespace

void InitializelxTreeViewUnit()
{
    TUnitState& unit = Unit();
    if (unit.InitCount++ > 0)
        return;
    unit.CheckImages = new TImageList(nullptr, 16, 16);
    LoadCheckImages();
}

void FinalizelxTreeViewUnit()
{
    TUnitState& unit = Unit();
    if (unit.InitCount == 0 || --unit.InitCount > 0)
        return;
    delete unit.CheckImages;
    unit.CheckImages = nullptr;
}

TImageList* SharedCheckImages() { return Unit().CheckImages; }

void LoadCheckImages()
{
    TImageList* list = SharedCheckImages();
    if (!list)
        return;
    // A new size empties the list; the glyph strip is drawn into it by the painting code.
    list->SetSize(16, 16);
}

void TCustomlxTreeView::SetImageList(HIMAGELIST Value, WPARAM Flags)
{
    if (HandleAllocated())
        SendMessageA(Handle(), TVM_SETIMAGELIST, Flags, LPARAM(Value));
}

void TCustomlxTreeView::SetImages(TCustomImageList* Value)
{
    if (FImages) {
        FImages->UnRegisterChanges(FImagesLink.get());
        if (FImages != FStateImages)
            FImages->RemoveFreeNotification(this);
    }
    FImages = Value;
    if (FImages) {
        FImages->RegisterChanges(FImagesLink.get());
        FImages->FreeNotification(this);
        if (HandleAllocated())
            SetImageList(FImages->Handle(), TVSIL_NORMAL);
    } else {
        SetImageList(nullptr, TVSIL_NORMAL);
    }
}

void TCustomlxTreeView::SetStateImages(TCustomImageList* Value)
{
    if (FStateImages) {
        FStateImages->UnRegisterChanges(FStateImagesLink.get());
        if (FStateImages != FImages)
            FStateImages->RemoveFreeNotification(this);
    }
    FStateImages = Value;
    if (FStateImages) {
        FStateImages->RegisterChanges(FStateImagesLink.get());
        FStateImages->FreeNotification(this);
        if (HandleAllocated())
            SetImageList(FStateImages->Handle(), TVSIL_STATE);
    } else if (TImageList* shared = SharedCheckImages()) {
        if (HandleAllocated())
            SetImageList(shared->Handle(), TVSIL_STATE);
    }
}

void TCustomlxTreeView::ImageListChange(TObject* Sender)
{
    if (!HandleAllocated() || !Sender)
        return;
    if (Sender == FImages)
        SetImageList(FImages->Handle(), TVSIL_NORMAL);
    else if (Sender == FStateImages)
        SetImageList(FStateImages->Handle(), TVSIL_STATE);
}

void TCustomlxTreeView::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FImages)
        SetImages(nullptr);
    if (AComponent == FStateImages)
        SetStateImages(nullptr);
}

// After a system colour change the shared check glyphs are drawn again in the new
// colours, and the native window hears of the change too.
void TCustomlxTreeView::CMSysColorChange(TMessage& Message)
{
    TWinControl::Dispatch(Message);
    LoadCheckImages();
    if (HandleAllocated())
        SendMessageA(Handle(), WM_SYSCOLORCHANGE, Message.WParam, Message.LParam);
}
