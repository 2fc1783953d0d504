// The control's image lists, and the check glyph list that all tree views share.
#include "control/lxTreeViewControl.h"

#include <QImage>

#include "control/CheckGlyphStrip.h"
#include "platform/win/Gdi.h"

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

// Refills the list in place: controls keep its handle and show the new glyphs at
// their next paint. The strip's top-left pixel is background, hence the mask colour.
void LoadCheckImages()
{
    TImageList* list = SharedCheckImages();
    if (!list)
        return;
    const QImage strip =
        DrawCheckGlyphStrip(ColorRefToQColor(GetSysColor(COLOR_BTNSHADOW)), ColorRefToQColor(GetSysColor(COLOR_BTNFACE)));
    const int size = strip.height();
    const TColor mask = QColorToTColor(strip.pixelColor(0, 0));
    TBitmap glyph;
    list->BeginUpdate();
    try {
        list->Clear();
        list->SetSize(size, size);
        for (int i = 0; i < strip.width() / size; ++i) {
            glyph.SetImage(strip.copy(i * size, 0, size, size));
            list->AddMasked(&glyph, mask);
        }
    } catch (...) {
        list->EndUpdate();
        throw;
    }
    list->EndUpdate();
}

void TCustomlxTreeView::SetImageList(HIMAGELIST Value, WPARAM Flags)
{
    if (HandleAllocated())
        SendMessageA(Handle(), TVM_SETIMAGELIST, Flags, LPARAM(Value));
}

void TCustomlxTreeView::SetImages(TCustomImageList* Value)
{
    if (FImages && FImages != FStateImages)
        FImages->RemoveFreeNotification(this);
    ReleaseImageList(FImages, FImagesLink.get());
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
    if (FStateImages && FStateImages != FImages)
        FStateImages->RemoveFreeNotification(this);
    ReleaseImageList(FStateImages, FStateImagesLink.get());
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

// A list that goes away has already let go of its change link (the link's Sender is
// cleared) and may be half destroyed: only our own references to it are dropped.
void TCustomlxTreeView::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove || !AComponent)
        return;
    const void* removed = AComponent;
    if (removed == static_cast<const void*>(FImages)) {
        ReleaseImageList(FImages, FImagesLink.get());
        SetImageList(nullptr, TVSIL_NORMAL);
    }
    if (removed == static_cast<const void*>(FStateImages)) {
        ReleaseImageList(FStateImages, FStateImagesLink.get());
        if (TImageList* shared = SharedCheckImages(); shared && HandleAllocated())
            SetImageList(shared->Handle(), TVSIL_STATE);
    }
}

void TCustomlxTreeView::ReleaseImageList(TCustomImageList*& List, TChangeLink* Link)
{
    if (List && Link->Sender() == List)
        List->UnRegisterChanges(Link);
    List = nullptr;
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
