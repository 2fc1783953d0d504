#include "platform/framework/ImgList.h"
#include "platform/framework/DragDrop.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

#include "platform/win/Gdi.h"
#include "platform/win/ImageList.h"
#include "platform/win/WinApi.h"

// ---------------------------------------------------------------------------
// TChangeLink

TChangeLink::~TChangeLink()
{
    if (FSender)
        FSender->UnRegisterChanges(this);
}

void TChangeLink::Change()
{
    // Call a copy: the handler may free this link and its OnChange with it.
    if (const TNotifyEvent handler = OnChange)
        handler(FSender);
}

// ---------------------------------------------------------------------------
// TCustomImageList

namespace {

// Greys an image for a disabled entry: the luminance, lightened towards white.
QImage GreyedImage(const QImage& image)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb c = line[x];
            const int grey = (qGray(c) + 2 * 192) / 3;
            line[x] = qRgba(grey, grey, grey, qAlpha(c));
        }
    }
    return out;
}

UINT OverlayStyle(int overlay)
{
    return (overlay >= 0 && overlay < 15) ? UINT(overlay + 1) << 8 : 0;
}

} // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(TComponent* AOwner, int AWidth, int AHeight)
    : TComponent(AOwner), FWidth(std::max(1, AWidth)), FHeight(std::max(1, AHeight))
{
}

TCustomImageList::~TCustomImageList()
{
    while (!FClients.empty())
        UnRegisterChanges(FClients.back());
    FreeHandle();
}

void TCustomImageList::Assign(TPersistent* Source)
{
    if (Source == this)
        return;
    auto* source = dynamic_cast<TCustomImageList*>(Source);
    if (!source) {
        TComponent::Assign(Source);
        return;
    }
    BeginUpdate();
    SetSize(source->Width(), source->Height());
    Clear();
    const int count = source->Count();
    for (int i = 0; i < count; ++i)
        AddImage(ImageList_GetImage(source->Handle(), i));
    EndUpdate();
}

void TCustomImageList::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(1, AWidth);
    AHeight = std::max(1, AHeight);
    if (AWidth == FWidth && AHeight == FHeight)
        return;
    FWidth = AWidth;
    FHeight = AHeight;
    if (HandleAllocated())
        ImageList_SetIconSize(FHandle, FWidth, FHeight);
    Change();
}

int TCustomImageList::Count() const
{
    return HandleAllocated() ? ImageList_GetImageCount(FHandle) : 0;
}

QImage TCustomImageList::MaskedImage(TBitmap* Image, TBitmap* Mask) const
{
    QImage image = Image->ToImage().convertToFormat(QImage::Format_ARGB32);
    if (!Mask || Mask->Empty())
        return image;
    const QImage mask = Mask->ToImage();
    for (int y = 0; y < std::min(image.height(), mask.height()); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < std::min(image.width(), mask.width()); ++x)
            if ((mask.pixel(x, y) & 0xFFFFFF) != 0)
                line[x] = 0;
    }
    return image;
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask)
{
    if (!Image || Image->Empty())
        return -1;
    const int index = ImageList_Add(Handle(), MaskedImage(Image, Mask));
    if (index >= 0)
        Change();
    return index;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor)
{
    if (!Image || Image->Empty())
        return -1;
    const COLORREF mask = MaskColor == clDefault ? CLR_DEFAULT
                          : MaskColor == clNone  ? CLR_NONE
                                                 : (ColorToRGB(MaskColor) & 0xFFFFFF);
    const int index = ImageList_AddMasked(Handle(), Image->ToImage(), mask);
    if (index >= 0)
        Change();
    return index;
}

int TCustomImageList::AddImage(const QImage& Image)
{
    const int index = ImageList_Add(Handle(), Image);
    if (index >= 0)
        Change();
    return index;
}

void TCustomImageList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EInvalidOperation(Format("Invalid ImageList Index (%d)", Index));
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask)
{
    CheckIndex(Index);
    if (!Image || Image->Empty())
        return;
    ImageList_ReplaceImage(FHandle, Index, MaskedImage(Image, Mask));
    Change();
}

void TCustomImageList::Delete(int Index)
{
    CheckIndex(Index);
    ImageList_Remove(FHandle, Index);
    Change();
}

void TCustomImageList::Clear()
{
    if (HandleAllocated())
        ImageList_Remove(FHandle, -1);
    Change();
}

bool TCustomImageList::GetBitmap(int Index, TBitmap* Image)
{
    if (!Image || !HandleAllocated() || Index < 0 || Index >= Count())
        return false;
    Image->SetImage(ImageList_GetImage(FHandle, Index));
    return true;
}

bool TCustomImageList::Overlay(int ImageIndex, int Overlay)
{
    return ImageList_SetOverlayImage(Handle(), ImageIndex, Overlay + 1) != FALSE;
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled)
{
    DrawOverlay(Canvas, X, Y, Index, -1, Enabled);
}

void TCustomImageList::DrawOverlay(TCanvas* Canvas, int X, int Y, int ImageIndex, int Overlay, bool Enabled)
{
    if (!Canvas || !HandleAllocated() || ImageIndex < 0 || ImageIndex >= Count())
        return;
    HDC dc = Canvas->Handle();
    if (!dc || !dc->painter)
        return;
    if (Enabled) {
        ImageList_Draw(FHandle, ImageIndex, dc, X, Y, ILD_TRANSPARENT | OverlayStyle(Overlay));
        return;
    }
    // A greyed entry: compose the image and its overlay off screen, then grey the result.
    QImage composed(FWidth, FHeight, QImage::Format_ARGB32_Premultiplied);
    composed.fill(Qt::transparent);
    {
        QPainter p(&composed);
        TDeviceContext scratch;
        scratch.painter = &p;
        ImageList_Draw(FHandle, ImageIndex, &scratch, 0, 0, ILD_TRANSPARENT | OverlayStyle(Overlay));
    }
    dc->painter->drawImage(X, Y, GreyedImage(composed));
}

HIMAGELIST TCustomImageList::Handle()
{
    if (!FHandle)
        FHandle = ImageList_Create(FWidth, FHeight, ILC_COLOR32 | ILC_MASK, FAllocBy, FAllocBy);
    return FHandle;
}

void TCustomImageList::SetHandle(HIMAGELIST Value)
{
    if (Value == FHandle)
        return;
    FreeHandle();
    FHandle = Value;
    int cx = 0, cy = 0;
    if (FHandle && ImageList_GetIconSize(FHandle, &cx, &cy)) {
        FWidth = cx;
        FHeight = cy;
    }
    Change();
}

void TCustomImageList::FreeHandle()
{
    if (FHandle && !FShareImages)
        ImageList_Destroy(FHandle);
    FHandle = nullptr;
}

void TCustomImageList::RegisterChanges(TChangeLink* Value)
{
    if (!Value)
        return;
    if (Value->Sender() && Value->Sender() != this)
        Value->Sender()->UnRegisterChanges(Value);
    Value->SetSender(this);
    if (std::find(FClients.begin(), FClients.end(), Value) == FClients.end())
        FClients.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value)
{
    const auto it = std::find(FClients.begin(), FClients.end(), Value);
    if (it == FClients.end())
        return;
    FClients.erase(it);
    Value->SetSender(nullptr);
}

void TCustomImageList::BeginUpdate()
{
    ++FUpdateCount;
}

void TCustomImageList::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChanged)
        Change();
}

void TCustomImageList::Change()
{
    FChanged = true;
    if (FUpdateCount > 0)
        return;
    FChanged = false;
    // A link's handler may unregister links (its own or others): notify only those
    // still registered when their turn comes.
    const std::vector<TChangeLink*> clients = FClients;
    for (TChangeLink* link : clients)
        if (std::find(FClients.begin(), FClients.end(), link) != FClients.end())
            link->Change();
    if (const TNotifyEvent handler = OnChange)
        handler(this);
}

// ---------------------------------------------------------------------------
// TDragImageList

TDragImageList::TDragImageList(TComponent* AOwner) : TCustomImageList(AOwner) {}

TDragImageList::TDragImageList(TComponent* AOwner, int AWidth, int AHeight)
    : TCustomImageList(AOwner, AWidth, AHeight)
{
}

TDragImageList::~TDragImageList() { DragImagesGone(this); }

bool TDragImageList::SetDragImage(int Index, int HotSpotX, int HotSpotY)
{
    if (Index < 0 || Index >= Count())
        return false;
    FDragIndex = Index;
    FHotSpot = POINT{HotSpotX, HotSpotY};
    if (FWindow)
        static_cast<QLabel*>(FWindow.get())->setPixmap(QPixmap::fromImage(ImageList_GetImage(Handle(), FDragIndex)));
    return true;
}

bool TDragImageList::BeginDrag(HWND Window, int X, int Y)
{
    if (FDragging || FDragIndex < 0 || FDragIndex >= Count())
        return false;
    auto* label = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                                          Qt::WindowDoesNotAcceptFocus);
    label->setAttribute(Qt::WA_ShowWithoutActivating);
    label->setWindowOpacity(0.7);
    label->setPixmap(QPixmap::fromImage(ImageList_GetImage(Handle(), FDragIndex)));
    label->adjustSize();
    FWindow.reset(label);
    FDragWindow = Window;
    FDragging = true;
    PlaceWindow(X, Y);
    FWindow->show();
    return true;
}

bool TDragImageList::DragMove(int X, int Y)
{
    if (!FDragging)
        return false;
    PlaceWindow(X, Y);
    return true;
}

bool TDragImageList::EndDrag()
{
    if (!FDragging)
        return false;
    FWindow.reset();
    FDragWindow = nullptr;
    FDragging = false;
    return true;
}

void TDragImageList::ShowDragImage()
{
    if (FDragging && FWindow)
        FWindow->show();
}

void TDragImageList::HideDragImage()
{
    if (FDragging && FWindow)
        FWindow->hide();
}

bool TDragImageList::DragImageVisible() const
{
    return FDragging && FWindow && FWindow->isVisible();
}

void TDragImageList::PlaceWindow(int X, int Y)
{
    POINT pt{X, Y};
    if (FDragWindow)
        ClientToScreen(FDragWindow, &pt);
    if (FWindow)
        FWindow->move(pt.x - FHotSpot.x, pt.y - FHotSpot.y);
}
