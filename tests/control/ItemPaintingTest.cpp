// Item painting seen on the screen: check glyphs, label colours and fonts, background
// erasing and focus rectangles.
#include <QPainter>
#include <QPalette>
#include <functional>

#include "TreeFixture.h"
#include "control/CheckGlyphStrip.h"
#include "platform/win/Gdi.h"
#include "platform/win/ImageList.h"

namespace {

// A tree whose drag state a test can set, as a drag of the control would.
class TDraggableTree : public TlxTreeView {
public:
    using TlxTreeView::TlxTreeView;
    void SetBeingDragged(bool Value) { FDragging = Value; }
};

class ItemPainting : public TreeFixture {
protected:
    void SetUp() override
    {
        TreeFixture::SetUp();
        delete tree;
        draggable = new TDraggableTree(form.get());
        tree = draggable;
        tree->SetParent(form.get());
        tree->SetAlign(alClient);
        QApplication::processEvents();
    }

    QImage Shot() { return View()->grab().toImage(); }
    QColor At(const QImage& shot, int x, int y) { return shot.pixelColor(ToWidget(QPoint(x, y))); }
    // A pixel of the label's background, clear of the text and the focus frame.
    QColor LabelBackground(TlxTreeViewNode* node)
    {
        const RECT r = node->DisplayRect(true);
        return At(Shot(), r.left + 1, r.top + 1);
    }
    QImage LabelPicture(const QImage& shot, TlxTreeViewNode* node)
    {
        const RECT r = node->DisplayRect(true);
        return shot.copy(QRect(ToWidget(QPoint(r.left, r.top)), QSize(r.right - r.left, r.bottom - r.top)));
    }
    int CountPixels(const QImage& picture, const std::function<bool(QColor)>& match)
    {
        int n = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                n += match(picture.pixelColor(x, y)) ? 1 : 0;
        return n;
    }
    // Black pixels in the node's row left of its label: where its check glyph goes.
    int BlackLeftOfLabel(TlxTreeViewNode* node)
    {
        const RECT r = node->DisplayRect(true);
        const QImage row = Shot().copy(QRect(ToWidget(QPoint(0, r.top)), QSize(r.left, r.bottom - r.top)));
        return CountPixels(row, [](QColor c) { return c == QColor(Qt::black); });
    }
    void Unfocus()
    {
        View()->clearFocus();
        QApplication::processEvents();
    }

    TDraggableTree* draggable = nullptr;
};

QColor Rgb(TColor color) { return ColorRefToQColor(ColorToRGB(color)); }

constexpr TColor Crimson = 0x3C14DC, Teal = 0x808000, Plum = 0xDDA0DD;

} // namespace

TEST(CheckGlyphStrip, GlyphsAreDrawnToTheirDescriptions)
{
    const QColor shadow(10, 20, 30), face(200, 100, 50), olive(128, 128, 0), white(Qt::white), black(Qt::black);
    const QImage strip = DrawCheckGlyphStrip(shadow, face);
    ASSERT_EQ(strip.size(), QSize(224, 16));
    auto px = [&](int glyph, int x, int y) { return strip.pixelColor(16 * glyph + x, y); };

    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(px(0, x, y), olive) << x << "," << y;
    // Check boxes: sunken edges, white or face interior, the mark on the even ones.
    for (int g : {1, 2, 3, 4}) {
        const QColor interior = g <= 2 ? white : face;
        EXPECT_EQ(px(g, 0, 0), olive) << g;
        EXPECT_EQ(px(g, 1, 11), shadow) << g;
        EXPECT_EQ(px(g, 2, 2), black) << g;
        EXPECT_EQ(px(g, 12, 1), face) << g;
        EXPECT_EQ(px(g, 1, 12), face) << g;
        EXPECT_EQ(px(g, 11, 11), interior) << g;
        EXPECT_EQ(px(g, 10, 4), g % 2 == 0 ? black : interior) << g;
        EXPECT_EQ(px(g, 6, 10), g % 2 == 0 ? black : interior) << g;
    }
    // Radio buttons: shadow circle, black upper-left arc, interior, dot with soft corners.
    for (int g : {5, 6, 7, 8}) {
        const QColor interior = g <= 6 ? white : face;
        EXPECT_EQ(px(g, 1, 1), olive) << g;
        EXPECT_EQ(px(g, 12, 6), shadow) << g;
        EXPECT_EQ(px(g, 2, 6), black) << g;
        EXPECT_EQ(px(g, 3, 7), interior) << g;
        EXPECT_EQ(px(g, 7, 7), g % 2 == 0 ? black : interior) << g;
        EXPECT_EQ(px(g, 5, 5), g % 2 == 0 ? shadow : interior) << g;
    }
    // Value buttons: raised frame, their pictures; the clock's red hand; the padlock.
    for (int g : {9, 10, 11}) {
        EXPECT_EQ(px(g, 1, 1), face) << g;
        EXPECT_EQ(px(g, 12, 12), black) << g;
    }
    EXPECT_EQ(px(9, 3, 3), black);
    EXPECT_EQ(px(10, 6, 4), black);
    EXPECT_EQ(px(11, 8, 8), shadow);
    EXPECT_EQ(px(12, 7, 4), QColor(255, 0, 0));
    EXPECT_EQ(px(13, 3, 3), face);
    EXPECT_EQ(px(13, 12, 12), shadow);
    EXPECT_EQ(px(13, 4, 6), black);
}

TEST(SharedCheckImages, RefilledInPlaceInTheCurrentButtonColours)
{
    TImageList* list = SharedCheckImages();
    ASSERT_NE(list, nullptr);
    const HIMAGELIST handle = list->Handle();
    const QPalette original = QApplication::palette();

    QPalette changed = original;
    changed.setColor(QPalette::Button, QColor(0, 200, 0));
    changed.setColor(QPalette::Mid, QColor(0, 0, 150));
    QApplication::setPalette(changed);
    LoadCheckImages();
    EXPECT_EQ(list->Handle(), handle);
    EXPECT_EQ(list->Count(), 14);
    EXPECT_EQ(ImageList_GetImageCount(handle), 14);
    const QImage box = ImageList_GetImage(handle, 3);
    EXPECT_EQ(box.pixelColor(7, 7), QColor(0, 200, 0));
    EXPECT_EQ(box.pixelColor(1, 1), QColor(0, 0, 150));
    EXPECT_EQ(box.pixelColor(0, 0).alpha(), 0) << "the background is the mask";
    EXPECT_EQ(ImageList_GetImage(handle, 1).pixelColor(7, 7), QColor(Qt::white));

    QApplication::setPalette(original);
    LoadCheckImages();
    EXPECT_EQ(ImageList_GetImage(handle, 3).pixelColor(7, 7), ColorRefToQColor(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(list->Count(), 14);
}

TEST_F(ItemPainting, SelectionColoursFollowFocusAndDrag)
{
    tree->SetSelectedColor(Crimson);
    tree->SetUnfocusedSelectedColor(Teal);
    tree->SetDropSelectedColor(Plum);
    TlxTreeViewNode* a = Items()->Add(nullptr, "Alpha");
    TlxTreeViewNode* b = Items()->Add(nullptr, "Beta");
    tree->SetSelection(a);
    tree->SetFocus();
    QApplication::processEvents();
    ASSERT_TRUE(tree->Focused());
    EXPECT_EQ(LabelBackground(a), Rgb(Crimson));
    EXPECT_EQ(LabelBackground(b), Rgb(tree->Color()));

    Unfocus();
    ASSERT_FALSE(tree->Focused());
    EXPECT_EQ(LabelBackground(a), Rgb(Teal));

    // While the control is dragged: a selected drop target, an unselected one.
    draggable->SetBeingDragged(true);
    a->SetDropTarget(true);
    EXPECT_EQ(LabelBackground(a), Rgb(Plum));
    a->SetDropTarget(false);
    EXPECT_EQ(LabelBackground(a), Rgb(Crimson));
    b->SetDropTarget(true);
    EXPECT_EQ(LabelBackground(b), Rgb(Crimson));
    b->SetDropTarget(false);
    draggable->SetBeingDragged(false);

    // A drop highlight elsewhere takes the native highlight off the selected node,
    // which then shows the control's colour.
    tree->SetFocus();
    QApplication::processEvents();
    b->SetDropTarget(true);
    EXPECT_EQ(LabelBackground(a), Rgb(tree->Color()));
    EXPECT_EQ(LabelBackground(b), Rgb(Crimson));
}

TEST_F(ItemPainting, NodeColourShowsUnlessSelected)
{
    TlxTreeViewNode* a = Items()->Add(nullptr, "Alpha");
    TlxTreeViewNode* b = Items()->Add(nullptr, "Beta");
    a->SetColor(clYellow);
    tree->SetSelection(b);
    tree->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(LabelBackground(a), QColor(Qt::yellow));
    tree->SetSelection(a);
    EXPECT_EQ(LabelBackground(a), Rgb(tree->SelectedColor()));
    a->SetParentColor(true);
    tree->SetSelection(b);
    EXPECT_EQ(LabelBackground(a), Rgb(tree->Color()));
}

TEST_F(ItemPainting, OwnFontAndItsColourStayWithTheirNode)
{
    // Same-text rows in the control's font before, between and after rows in fonts of their own.
    TlxTreeViewNode* first = Items()->Add(nullptr, "Same text");
    TlxTreeViewNode* red = Items()->Add(nullptr, "Red");
    TlxTreeViewNode* second = Items()->Add(nullptr, "Same text");
    TlxTreeViewNode* big1 = Items()->Add(nullptr, "Big");
    TlxTreeViewNode* big2 = Items()->Add(nullptr, "Bigger");
    TlxTreeViewNode* third = Items()->Add(nullptr, "Same text");
    red->Font()->SetColor(clRed);
    red->Font()->SetStyle(TFontStyles{fsBold});
    red->Font()->SetSize(14);
    big1->Font()->SetSize(16);
    big2->Font()->SetSize(18);
    big2->Font()->SetStyle(TFontStyles{fsItalic});
    tree->SetSelection(first);
    tree->SetFocus();
    QApplication::processEvents();

    auto reddish = [](QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; };
    QImage shot = Shot();
    EXPECT_GT(CountPixels(LabelPicture(shot, red), reddish), 5);
    const RECT unselectedLabel = red->DisplayRect(true);
    tree->SetSelection(red);
    shot = Shot();
    EXPECT_EQ(LabelPicture(shot, second), LabelPicture(shot, third));
    EXPECT_EQ(LabelPicture(shot, second).width(), LabelPicture(shot, first).width());

    // Selected, the node keeps its face (its label stays as wide) but not its colour.
    const RECT selectedLabel = red->DisplayRect(true);
    EXPECT_EQ(selectedLabel.right - selectedLabel.left, unselectedLabel.right - unselectedLabel.left);
    EXPECT_EQ(CountPixels(LabelPicture(shot, red), reddish), 0);
    const QColor highlightText = ColorRefToQColor(GetSysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_GT(CountPixels(LabelPicture(shot, red), [&](QColor c) { return c == highlightText; }), 5);

    tree->SetSelection(big1);
    shot = Shot();
    EXPECT_EQ(LabelPicture(shot, second), LabelPicture(shot, first));
    EXPECT_EQ(LabelPicture(shot, third), LabelPicture(shot, first));
}

TEST_F(ItemPainting, CheckGlyphsShowOnlyWithCheckSupport)
{
    TlxTreeViewNode* a = Items()->Add(nullptr, "Alpha");
    TlxTreeViewNode* b = Items()->Add(nullptr, "Beta");
    Items()->SetCheckType(lxtCheckBox);
    b->SetCheckState(lxsChecked);
    EXPECT_EQ(BlackLeftOfLabel(a), 0);
    EXPECT_EQ(BlackLeftOfLabel(b), 0);

    tree->SetOptions(tree->Options() + TTreeOptions{roCheckSupport});
    Items()->SetCheckType(lxtNone);
    Items()->SetCheckType(lxtCheckBox);
    b->SetCheckState(lxsChecked);
    const int box = BlackLeftOfLabel(a);
    EXPECT_GE(box, 19) << "the inner edges of the box";
    EXPECT_GE(BlackLeftOfLabel(b), box + 20) << "the box with its mark";
}

TEST_F(ItemPainting, EraseFillsTheBackgroundOnlyWhenAsked)
{
    Items()->Add(nullptr, "Alpha");
    tree->SetColor(clYellow);
    auto erase = [&](LRESULT* result) {
        QImage surface(40, 30, QImage::Format_RGB32);
        surface.fill(Qt::blue);
        {
            QPainter painter(&surface);
            TDeviceContext dc;
            dc.painter = &painter;
            dc.hwnd = tree->Handle();
            *result = tree->Perform(WM_ERASEBKGND, WPARAM(&dc), 0);
        }
        return surface.pixelColor(20, 15);
    };
    LRESULT result = 0;
    EXPECT_TRUE(tree->Options().Contains(roAutoEraseBackground));
    EXPECT_EQ(erase(&result), QColor(Qt::yellow));
    EXPECT_EQ(result, 1);
    tree->SetOptions(tree->Options() - TTreeOptions{roAutoEraseBackground});
    EXPECT_EQ(erase(&result), QColor(Qt::blue));
    EXPECT_EQ(result, 1);
}

TEST_F(ItemPainting, FocusRectangleDrawnTwiceLeavesTheWindowAsItWas)
{
    Items()->Add(nullptr, "Alpha");
    Items()->Add(nullptr, "Beta");
    const QImage before = Shot();
    const RECT band{5, 4, 60, 40}, other{20, 10, 90, 30};
    tree->DrawFocusRect(band);
    QImage shot = Shot();
    ASSERT_NE(shot, before);
    const QColor was = At(before, band.left, band.top);
    EXPECT_EQ(At(shot, band.left, band.top),
              QColor(255 - was.red(), 255 - was.green(), 255 - was.blue()));
    EXPECT_EQ(At(shot, band.left + 1, band.top), At(before, band.left + 1, band.top)) << "dotted";

    // A repaint keeps it; overlapping frames come and go independently.
    tree->Invalidate();
    tree->DrawFocusRect(other);
    EXPECT_EQ(At(Shot(), band.left, band.top), At(shot, band.left, band.top));
    tree->DrawFocusRect(band);
    tree->DrawFocusRect(other);
    EXPECT_EQ(Shot(), before);
}
