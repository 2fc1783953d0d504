#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "platform/win/Gdi.h"
#include "platform/win/ImageList.h"
#include "platform/framework/ImgList.h"

namespace {

QImage Strip(std::initializer_list<QColor> colours, int size = 16)
{
    QImage strip(size * int(colours.size()), size, QImage::Format_RGB32);
    int i = 0;
    for (const QColor& c : colours) {
        QPainter p(&strip);
        p.fillRect(i++ * size, 0, size, size, c);
    }
    return strip;
}

// Draws one entry into a white image through a device context, as a window would.
QImage DrawEntry(HIMAGELIST list, int index, UINT style, int size = 16)
{
    QImage target(size, size, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::white);
    QPainter p(&target);
    TDeviceContext dc;
    dc.painter = &p;
    ImageList_Draw(list, index, &dc, 0, 0, style);
    p.end();
    return target;
}

} // namespace

TEST(FrameworkImageList, StaleHandlesFailQuietlyEvenAfterTheSlotIsReused)
{
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_Add(list, Strip({Qt::red, Qt::green, Qt::blue})), 0);
    EXPECT_EQ(ImageList_GetImageCount(list), 3);
    EXPECT_EQ(ImageList_Add(list, Strip({Qt::black})), 3);
    EXPECT_TRUE(ImageList_Destroy(list));

    HIMAGELIST reused = ImageList_Create(8, 8, ILC_COLOR32, 0, 4);
    EXPECT_NE(reused, list);
    EXPECT_FALSE(ImageList_Destroy(list));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    EXPECT_EQ(ImageList_Add(list, Strip({Qt::red})), -1);
    EXPECT_TRUE(ImageList_GetImage(list, 0).isNull());
    int cx = 0, cy = 0;
    EXPECT_FALSE(ImageList_GetIconSize(list, &cx, &cy));
    EXPECT_EQ(DrawEntry(list, 0, ILD_NORMAL).pixelColor(4, 4), QColor(Qt::white)); // draws nothing
    EXPECT_EQ(ImageList_GetImageCount(reused), 0);
    EXPECT_TRUE(ImageList_Destroy(reused));
    EXPECT_FALSE(ImageList_Draw(reinterpret_cast<HIMAGELIST>(std::uintptr_t(0xDEAD00000001ull)), 0, nullptr, 0, 0, 0));
}

TEST(FrameworkImageList, DrawsMaskedBlendedAndOverlaidImages)
{
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
    QImage withHole = Strip({Qt::blue, Qt::black});
    withHole.setPixelColor(3, 3, Qt::magenta);
    EXPECT_EQ(ImageList_AddMasked(list, withHole, RGB(255, 0, 255)), 0);
    EXPECT_EQ(DrawEntry(list, 0, ILD_NORMAL).pixelColor(3, 3), QColor(Qt::white)); // masked pixel
    EXPECT_EQ(DrawEntry(list, 0, ILD_NORMAL).pixelColor(5, 5), QColor(Qt::blue));

    const QColor highlight = ColorRefToQColor(GetSysColor(COLOR_HIGHLIGHT));
    const QColor selected = DrawEntry(list, 0, ILD_SELECTED).pixelColor(5, 5);
    EXPECT_NEAR(selected.red(), highlight.red() / 2, 2);
    EXPECT_NEAR(selected.blue(), (255 + highlight.blue()) / 2, 2);
    const QColor focused = DrawEntry(list, 0, ILD_FOCUS).pixelColor(5, 5);
    EXPECT_NEAR(focused.red(), highlight.red() / 4, 2);

    // Overlay 1 is image 1 (black), drawn on top of image 0.
    ASSERT_TRUE(ImageList_SetOverlayImage(list, 1, 1));
    EXPECT_EQ(DrawEntry(list, 0, 0x0100).pixelColor(5, 5), QColor(Qt::black));
    EXPECT_EQ(DrawEntry(list, 0, 0x0200).pixelColor(5, 5), QColor(Qt::blue)); // overlay 2 unset
    EXPECT_FALSE(ImageList_SetOverlayImage(list, 0, 16));

    EXPECT_TRUE(ImageList_SetIconSize(list, 8, 8));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    ImageList_Destroy(list);
}

TEST(FrameworkImageList, ChangeLinksHearEveryChangeAndNeverDangle)
{
    auto* images = new TImageList(nullptr);
    EXPECT_EQ(images->Width(), 16);
    EXPECT_FALSE(images->HandleAllocated());
    EXPECT_EQ(images->Count(), 0);

    int heardA = 0, heardB = 0, heardList = 0;
    auto* a = new TChangeLink;
    a->OnChange = [&](TObject* sender) { ++heardA; EXPECT_EQ(sender, images); };
    TChangeLink b;
    b.OnChange = [&](TObject*) { ++heardB; };
    images->OnChange = [&](TObject*) { ++heardList; };
    images->RegisterChanges(a);
    images->RegisterChanges(&b);
    EXPECT_EQ(a->Sender(), images);

    TBitmap strip;
    strip.SetImage(Strip({Qt::red, Qt::green}));
    EXPECT_EQ(images->AddMasked(&strip, clDefault), 0);
    EXPECT_TRUE(images->HandleAllocated());
    EXPECT_EQ(images->Count(), 2);
    EXPECT_EQ(heardA, 1);
    EXPECT_EQ(heardB, 1);

    delete a; // a link that goes unregisters itself
    images->BeginUpdate();
    images->Delete(0);
    images->Add(&strip, nullptr);
    images->EndUpdate();
    EXPECT_EQ(heardB, 2); // one report for the whole update
    EXPECT_EQ(heardList, 2);
    EXPECT_EQ(images->Count(), 3);
    EXPECT_THROW(images->Delete(3), EInvalidOperation);

    // A handle kept elsewhere goes stale when the list is freed.
    const HIMAGELIST handle = images->Handle();
    images->SetSize(32, 32);
    EXPECT_EQ(images->Count(), 0); // a new size removes every image
    EXPECT_EQ(heardB, 3);
    delete images; // clears the surviving link's sender
    EXPECT_EQ(b.Sender(), nullptr);
    EXPECT_EQ(ImageList_GetImageCount(handle), 0);
}

TEST(FrameworkImageList, DragImageListTakesOverANativeHandle)
{
    TDragImageList drag(nullptr, 32, 32);
    HIMAGELIST native = ImageList_Create(20, 10, ILC_COLOR32, 1, 1);
    ImageList_Add(native, QImage(20, 10, QImage::Format_RGB32));
    drag.SetHandle(native);
    EXPECT_EQ(drag.Width(), 20);
    EXPECT_EQ(drag.Height(), 10);
    EXPECT_EQ(drag.Count(), 1);
    EXPECT_TRUE(drag.SetDragImage(0, 2, 2));
    EXPECT_FALSE(drag.SetDragImage(1, 0, 0));
    EXPECT_TRUE(drag.BeginDrag(nullptr, 100, 100));
    EXPECT_TRUE(drag.Dragging());
    drag.HideDragImage();
    EXPECT_FALSE(drag.DragImageVisible());
    drag.ShowDragImage();
    EXPECT_TRUE(drag.DragImageVisible());
    EXPECT_TRUE(drag.DragMove(120, 90));
    EXPECT_TRUE(drag.EndDrag());
    EXPECT_FALSE(drag.Dragging());
}

TEST(FrameworkImageList, ComponentDrawsCopiesAndGreysItsImages)
{
    TImageList source(nullptr);
    TBitmap strip;
    strip.SetImage(Strip({Qt::red, QColor(0, 0, 200)}));
    TBitmap mask;
    mask.SetSize(32, 16);
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect(RECT{0, 0, 32, 16});
    mask.Canvas()->SetPixels(2, 2, clWhite); // white in the mask: transparent
    EXPECT_EQ(source.Add(&strip, &mask), 0);
    EXPECT_TRUE(source.Overlay(1, 0)); // overlay number 1 is image 1

    TImageList copy(nullptr);
    copy.Assign(&source);
    ASSERT_EQ(copy.Count(), 2);

    TBitmap target;
    target.SetSize(48, 16);
    TCanvas* c = target.Canvas();
    copy.Draw(c, 0, 0, 0);
    copy.Draw(c, 16, 0, 0, false);
    source.DrawOverlay(c, 32, 0, 0, 0);
    EXPECT_EQ(c->Pixels(5, 5), clRed);
    EXPECT_EQ(c->Pixels(2, 2), clWhite); // masked out
    const QColor greyed = TColorToQColor(c->Pixels(21, 5));
    EXPECT_EQ(greyed.red(), greyed.blue()); // grey, not red
    EXPECT_GT(greyed.red(), 0);
    EXPECT_EQ(c->Pixels(37, 5), 0xC80000); // the overlay covers image 0

    TBitmap out;
    EXPECT_TRUE(copy.GetBitmap(1, &out));
    EXPECT_EQ(out.Width(), 16);
    EXPECT_EQ(out.Canvas()->Pixels(8, 8), 0xC80000);
    EXPECT_FALSE(copy.GetBitmap(2, &out));
}
