#pragma once
// Image list components over the native image lists (ImageList.h): equally sized images
// drawn by index, change links for the controls that show them, and a drag image.
#include <memory>
#include <vector>

#include "platform/framework/Classes.h"
#include "platform/framework/Graphics.h"
#include "platform/win/WinTypes.h"

class QImage;
class QWidget;
class TCustomImageList;

// A control's subscription to an image list's changes. A link unregisters itself when
// it is destroyed, and an image list clears the Sender of its links when it goes.
class TChangeLink : public TObject {
public:
    TChangeLink() = default;
    ~TChangeLink() override;
    TCustomImageList* Sender() const { return FSender; }
    void SetSender(TCustomImageList* Value) { FSender = Value; }
    // Calls OnChange with the image list.
    virtual void Change();

    TNotifyEvent OnChange;

private:
    TCustomImageList* FSender = nullptr;
};

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner);
    TCustomImageList(TComponent* AOwner, int AWidth, int AHeight);
    ~TCustomImageList() override;
    void Assign(TPersistent* Source) override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // A new size removes every image.
    void SetWidth(int Value) { SetSize(Value, FHeight); }
    void SetHeight(int Value) { SetSize(FWidth, Value); }
    void SetSize(int AWidth, int AHeight);
    int Count() const;
    int AllocBy() const { return FAllocBy; }
    void SetAllocBy(int Value) { FAllocBy = Value; }

    // Each call adds as many images as the picture holds side by side and returns the
    // first new index (-1 when nothing was added). A mask's non-black pixels, or the
    // pixels of MaskColor (clDefault: the bottom-left pixel's colour), become transparent.
    int Add(TBitmap* Image, TBitmap* Mask);
    int AddMasked(TBitmap* Image, TColor MaskColor);
    int AddImage(const QImage& Image);
    void Replace(int Index, TBitmap* Image, TBitmap* Mask);
    void Delete(int Index); // EInvalidOperation for an index out of range
    void Clear();
    bool GetBitmap(int Index, TBitmap* Image);
    // Makes image ImageIndex the overlay number Overlay + 1 (Overlay is 0-based).
    bool Overlay(int ImageIndex, int Overlay);

    // Disabled images are drawn greyed.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
    void DrawOverlay(TCanvas* Canvas, int X, int Y, int ImageIndex, int Overlay, bool Enabled = true);

    // The native list, made on first use.
    HIMAGELIST Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    // Takes over a native list (and its size); the previous one is destroyed unless shared.
    void SetHandle(HIMAGELIST Value);
    // A shared handle belongs to someone else and is never destroyed by this list.
    bool ShareImages() const { return FShareImages; }
    void SetShareImages(bool Value) { FShareImages = Value; }

    void RegisterChanges(TChangeLink* Value);
    void UnRegisterChanges(TChangeLink* Value);
    // Collects changes until the matching EndUpdate, which reports one change.
    void BeginUpdate();
    void EndUpdate();

    TNotifyEvent OnChange;

protected:
    // Tells every registered link, then OnChange.
    virtual void Change();

private:
    void FreeHandle();
    void CheckIndex(int Index) const;
    QImage MaskedImage(TBitmap* Image, TBitmap* Mask) const;

    int FWidth = 16;
    int FHeight = 16;
    int FAllocBy = 4;
    HIMAGELIST FHandle = nullptr;
    bool FShareImages = false;
    int FUpdateCount = 0;
    bool FChanged = false;
    std::vector<TChangeLink*> FClients;
};

class TDragImageWindow;

// Adds the image that follows the mouse during a drag. Coordinates are client
// coordinates of the window given to BeginDrag.
class TDragImageList : public TCustomImageList {
public:
    explicit TDragImageList(TComponent* AOwner);
    TDragImageList(TComponent* AOwner, int AWidth, int AHeight);
    ~TDragImageList() override;

    bool SetDragImage(int Index, int HotSpotX, int HotSpotY);
    POINT GetHotSpot() const { return FHotSpot; }
    int DragIndex() const { return FDragIndex; }
    bool BeginDrag(HWND Window, int X, int Y);
    bool DragMove(int X, int Y);
    bool EndDrag();
    void ShowDragImage();
    void HideDragImage();
    bool Dragging() const { return FDragging; }
    // Whether the drag image is on screen now.
    bool DragImageVisible() const;

private:
    void PlaceWindow(int X, int Y);
    int FDragIndex = 0;
    POINT FHotSpot;
    HWND FDragWindow = nullptr;
    bool FDragging = false;
    std::unique_ptr<QWidget> FWindow;
};

class TImageList : public TDragImageList {
public:
    using TDragImageList::TDragImageList;
};
