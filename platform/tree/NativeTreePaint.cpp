// Painting the visible rows, with the custom-draw stages around the whole pass and
// around each item, and the drag image of an item.
#include <QPainter>
#include <QVector>

#include "platform/win/Gdi.h"
#include "platform/win/ImageList.h"
#include "platform/tree/LabelLine.h"
#include "platform/tree/NativeTree.h"

namespace lxtree {

namespace {

constexpr int kButtonHalf = 4; // a 9 x 9 box

class TPainterState {
public:
    explicit TPainterState(QPainter& p) : FPainter(p) { p.save(); }
    ~TPainterState() { FPainter.restore(); }
    TPainterState(const TPainterState&) = delete;
    TPainterState& operator=(const TPainterState&) = delete;

private:
    QPainter& FPainter;
};

// Dots on every other pixel, phased by the absolute position so that the pieces of
// one line drawn for different rows join up.
void AddDottedVertical(QVector<QPoint>& points, int x, int y0, int y1, int phase)
{
    for (int y = y0; y < y1; ++y)
        if (((x + y + phase) & 1) == 0)
            points.append(QPoint(x, y));
}

void AddDottedHorizontal(QVector<QPoint>& points, int y, int x0, int x1, int phase)
{
    for (int x = x0; x < x1; ++x)
        if (((x + y + phase) & 1) == 0)
            points.append(QPoint(x, y));
}

} // namespace

COLORREF TNativeTreeWindow::BackgroundColor() const { return FBkColor == CLR_NONE ? GetSysColor(COLOR_WINDOW) : FBkColor; }

COLORREF TNativeTreeWindow::TextColor() const
{
    return FTextColor == CLR_NONE ? GetSysColor(COLOR_WINDOWTEXT) : FTextColor;
}

COLORREF TNativeTreeWindow::LineColor() const
{
    return FLineColor == CLR_DEFAULT || FLineColor == CLR_NONE ? GetSysColor(COLOR_BTNSHADOW) : FLineColor;
}

LRESULT TNativeTreeWindow::CustomDraw(HDC dc, DWORD stage, const RECT& rc, TSlot s, UINT itemState, COLORREF* text,
                              COLORREF* textBk, int level)
{
    NMTVCUSTOMDRAW cd;
    cd.nmcd.dwDrawStage = stage;
    cd.nmcd.hdc = dc;
    cd.nmcd.rc = rc;
    if (s != kNil) {
        cd.nmcd.dwItemSpec = UINT_PTR(FItems.Handle(s));
        cd.nmcd.lItemlParam = FItems[s].LParam();
    }
    cd.nmcd.uItemState = itemState;
    cd.clrText = text ? *text : 0;
    cd.clrTextBk = textBk ? *textBk : 0;
    cd.iLevel = level;
    const LRESULT result = Notify(cd.nmcd.hdr, NM_CUSTOMDRAW);
    if (text)
        *text = cd.clrText;
    if (textBk)
        *textBk = cd.clrTextBk;
    return result;
}

void TNativeTreeWindow::Paint(HDC dc, const RECT& update)
{
    if (!dc || !dc->painter)
        return;
    FWholeViewPending = false;
    QPainter& p = *dc->painter;
    TPainterState state(p);
    SelectObject(dc, FFont);
    const RECT client{0, 0, ClientWidth(), ClientHeight()};
    const LRESULT pre = CustomDraw(dc, CDDS_PREPAINT, client, kNil, 0, nullptr, nullptr, 0);
    if (pre & CDRF_SKIPDEFAULT)
        return;
    p.fillRect(QRect(update.left, update.top, update.right - update.left, update.bottom - update.top),
               ColorRefToQColor(BackgroundColor()));
    const int contentWidth = FContentWidth;
    for (TVisibleRows row = VisibleRows(); row.Valid() && row.Top() < update.bottom; row.Next()) {
        const TSlot t = row.Item();
        const HTREEITEM handle = FItems.Handle(t);
        if (row.Bottom() > update.top)
            PaintItem(dc, t, row.Top(), DWORD(pre));
        if (FItems.Resolve(handle) != t || !FItems.IsVisible(t)) {
            Invalidate(); // a handler changed the tree while we painted it
            break;
        }
    }
    PaintInsertMark(p);
    if (pre & CDRF_NOTIFYPOSTPAINT)
        CustomDraw(dc, CDDS_POSTPAINT, client, kNil, 0, nullptr, nullptr, 0);
    if (FContentWidth > contentWidth && !FScrollUpdatePosted) {
        FScrollUpdatePosted = true;
        PostMessageA(FHwnd, TVM_PRIVATE_UPDATESCROLL, 0, 0);
    }
}

// How an item is to look, before the custom-draw stages have their say.
struct TNativeTreeWindow::TItemLook {
    COLORREF text = 0, textBk = 0; // proposed to the custom-draw stages; what they leave is drawn
    UINT cdis = 0;                 // the CDIS_* state reported to them
    int level = 0;
    bool highlighted = false;
    bool hot = false;
};

TNativeTreeWindow::TItemLook TNativeTreeWindow::LookOf(TSlot s) const
{
    const UINT state = FItems[s].state;
    const bool drop = (state & TVIS_DROPHILITED) != 0;
    const bool selected = (state & TVIS_SELECTED) != 0 && (FDropHilite == kNil || drop);
    const bool active = drop || FFocused;
    TItemLook look;
    look.highlighted = drop || (selected && (FFocused || (FStyle & TVS_SHOWSELALWAYS)));
    look.hot = s == FHot && (FStyle & TVS_TRACKSELECT);
    look.text = look.highlighted ? GetSysColor(active ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT)
                : look.hot       ? GetSysColor(COLOR_HOTLIGHT)
                                 : TextColor();
    look.textBk = look.highlighted ? GetSysColor(active ? COLOR_HIGHLIGHT : COLOR_BTNFACE) : BackgroundColor();
    if (state & TVIS_SELECTED)
        look.cdis |= CDIS_SELECTED;
    if (s == FCaret && FFocused)
        look.cdis |= CDIS_FOCUS;
    if (look.hot)
        look.cdis |= CDIS_HOT;
    look.level = FItems.Level(s);
    return look;
}

void TNativeTreeWindow::PaintItem(HDC dc, TSlot s, int top, DWORD prepaintFlags)
{
    const HTREEITEM handle = FItems.Handle(s);
    TItemLook look = LookOf(s);
    const RECT row{0, top, ClientWidth(), top + FItems[s].integral * FItemHeight};
    LRESULT itemResult = CDRF_DODEFAULT;
    if (!ItemPrePaint(dc, s, row, prepaintFlags, look, &itemResult))
        return;
    bool customFont = false;
    const QFont font = PaintFont(dc, s, itemResult, look.hot, &customFont);
    const QString label = QString::fromUtf8(ItemText(s).c_str());
    if (FItems.Resolve(handle) != s)
        return;
    const TLabelCache::TLabel labelLine = FLabels.Get(label, font);
    const int labelWidth = labelLine->BoxWidth();
    if (customFont)
        FCustomLabelWidths[s] = labelWidth;
    else if (!FCustomLabelWidths.empty())
        FCustomLabelWidths.erase(s);
    const TItemGeometry g = Geometry(s, top, labelWidth);
    if (!PaintItemParts(dc, s, g, look, row.right))
        return;
    PaintLabel(*dc->painter, s, g, *labelLine, look, row.right);
    FContentWidth = std::max(FContentWidth, g.labelRight + FXPos);
    if (itemResult & CDRF_NOTIFYPOSTPAINT)
        CustomDraw(dc, CDDS_ITEMPOSTPAINT, row, s, look.cdis, &look.text, &look.textBk, look.level);
}

// The item's erase and paint stages. False when the item is not to be drawn: the
// parent drew it itself, or deleted it meanwhile.
bool TNativeTreeWindow::ItemPrePaint(HDC dc, TSlot s, const RECT& row, DWORD prepaintFlags, TItemLook& look,
                                     LRESULT* result)
{
    const HTREEITEM handle = FItems.Handle(s);
    if (prepaintFlags & CDRF_NOTIFYITEMERASE) {
        const LRESULT erase = CustomDraw(dc, CDDS_ITEMPREERASE, row, s, look.cdis, &look.text, &look.textBk, look.level);
        if ((erase & CDRF_NOTIFYPOSTERASE) || (prepaintFlags & CDRF_NOTIFYPOSTERASE))
            CustomDraw(dc, CDDS_ITEMPOSTERASE, row, s, look.cdis, &look.text, &look.textBk, look.level);
        if (FItems.Resolve(handle) != s)
            return false;
    }
    if (prepaintFlags & CDRF_NOTIFYITEMDRAW) {
        *result = CustomDraw(dc, CDDS_ITEMPREPAINT, row, s, look.cdis, &look.text, &look.textBk, look.level);
        if (FItems.Resolve(handle) != s || (*result & CDRF_SKIPDEFAULT))
            return false;
    }
    return true;
}

// The item's font, or the one that the item's paint stage selected into the device context.
QFont TNativeTreeWindow::PaintFont(HDC dc, TSlot s, LRESULT itemResult, bool hot, bool* custom) const
{
    QFont font = ItemFont(s);
    QFont selectedFont;
    if ((itemResult & CDRF_NEWFONT) && FontFromHandle(GetCurrentObjectFont(dc), &selectedFont)) {
        font = selectedFont;
        *custom = true;
    }
    if (hot)
        font.setUnderline(true);
    return font;
}

// The full-row highlight, the lines, the button and the images; false when a handler
// asked meanwhile deleted the item.
bool TNativeTreeWindow::PaintItemParts(HDC dc, TSlot s, const TItemGeometry& g, const TItemLook& look,
                                       int rowRight)
{
    const HTREEITEM handle = FItems.Handle(s);
    QPainter& p = *dc->painter;
    const bool fullRow = (FStyle & TVS_FULLROWSELECT) != 0;
    if (fullRow && look.textBk != CLR_NONE && (look.highlighted || look.textBk != BackgroundColor()))
        p.fillRect(QRect(0, g.top, rowRight, g.Height()), ColorRefToQColor(look.textBk));
    if (!fullRow && (FStyle & TVS_HASLINES))
        PaintLines(p, s, g);
    if (g.buttonRight > g.buttonLeft && ItemHasButton(s))
        PaintButton(p, s, g);
    if (FItems.Resolve(handle) != s)
        return false;
    PaintImages(dc, s, g);
    return FItems.Resolve(handle) == s;
}

void TNativeTreeWindow::PaintLabel(QPainter& p, TSlot s, const TItemGeometry& g, const TLabelLine& line,
                                   const TItemLook& look, int rowRight)
{
    const bool fullRow = (FStyle & TVS_FULLROWSELECT) != 0;
    const QRect labelRect(g.labelLeft, g.top, g.labelRight - g.labelLeft, g.Height());
    if (!fullRow && look.textBk != CLR_NONE)
        p.fillRect(labelRect, ColorRefToQColor(look.textBk));
    p.setPen(ColorRefToQColor(look.text));
    line.DrawInBox(p, labelRect);
    if (s == FCaret && FFocused) {
        QPen pen(ColorRefToQColor(look.text), 1, Qt::DotLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const QRect focus = fullRow ? QRect(0, g.top, rowRight, g.Height()) : labelRect;
        p.drawRect(focus.adjusted(0, 0, -1, -1));
    }
}

void TNativeTreeWindow::PaintLines(QPainter& p, TSlot s, const TItemGeometry& g)
{
    if (g.buttonRight <= g.buttonLeft)
        return;
    QVector<QPoint> dots;
    const int phase = int((TopRow() * std::uint32_t(FItemHeight)) & 1) + (FXPos & 1);
    const int cx = g.buttonLeft + FIndent / 2;
    const int cy = (g.top + g.bottom) / 2;
    AddDottedHorizontal(dots, cy, cx, g.buttonRight, phase);
    const bool firstAtRoot = FItems[s].parent == kRoot && FItems.Prev(s) == kNil;
    AddDottedVertical(dots, cx, firstAtRoot ? cy : g.top, FItems[s].next != kNil ? g.bottom : cy + 1, phase);
    int column = FItems.Level(s) + RootColumns() - 1;
    for (TSlot a = FItems[s].parent; a != kRoot; a = FItems[a].parent) {
        --column;
        if (column >= 0 && FItems[a].next != kNil)
            AddDottedVertical(dots, column * FIndent + FIndent / 2 - FXPos, g.top, g.bottom, phase);
    }
    p.setPen(ColorRefToQColor(LineColor()));
    p.drawPoints(dots.constData(), int(dots.size()));
}

void TNativeTreeWindow::PaintButton(QPainter& p, TSlot s, const TItemGeometry& g)
{
    const int cx = g.buttonLeft + FIndent / 2;
    const int cy = (g.top + g.bottom) / 2;
    const QRect box(cx - kButtonHalf, cy - kButtonHalf, 2 * kButtonHalf + 1, 2 * kButtonHalf + 1);
    // One-pixel fills, not a stroked outline and lines: the raster engine fills solid
    // rectangles much faster, and the pixels are the same.
    const QColor frame = ColorRefToQColor(GetSysColor(COLOR_BTNSHADOW));
    const QColor sign = ColorRefToQColor(GetSysColor(COLOR_WINDOWTEXT));
    p.fillRect(box.adjusted(1, 1, -1, -1), ColorRefToQColor(GetSysColor(COLOR_WINDOW)));
    p.fillRect(QRect(box.left(), box.top(), box.width(), 1), frame);
    p.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), frame);
    p.fillRect(QRect(box.left(), box.top() + 1, 1, box.height() - 2), frame);
    p.fillRect(QRect(box.right(), box.top() + 1, 1, box.height() - 2), frame);
    p.fillRect(QRect(cx - 2, cy, 5, 1), sign);
    if (!FItems[s].Expanded())
        p.fillRect(QRect(cx, cy - 2, 1, 5), sign);
}

void TNativeTreeWindow::PaintImages(HDC dc, TSlot s, const TItemGeometry& g)
{
    int cx = 0, cy = 0;
    const int stateIndex = (FItems[s].state & TVIS_STATEIMAGEMASK) >> 12;
    if (FStateImages && stateIndex > 0 && ImageList_GetIconSize(FStateImages, &cx, &cy))
        ImageList_Draw(FStateImages, stateIndex, dc, g.stateLeft, (g.top + g.bottom - cy) / 2, ILD_NORMAL);
    if (!FNormalImages || g.labelLeft == g.imageLeft || !ImageList_GetIconSize(FNormalImages, &cx, &cy))
        return;
    const HTREEITEM handle = FItems.Handle(s);
    const int image = ItemImage(s, (FItems[s].state & TVIS_SELECTED) != 0);
    if (image < 0 || FItems.Resolve(handle) != s)
        return;
    const UINT state = FItems[s].state;
    UINT style = ILD_TRANSPARENT | (state & TVIS_OVERLAYMASK);
    if (state & TVIS_CUT)
        style |= ILD_BLEND50;
    ImageList_Draw(FNormalImages, image, dc, g.imageLeft, (g.top + g.bottom - cy) / 2, style);
}

void TNativeTreeWindow::PaintInsertMark(QPainter& p)
{
    TItemGeometry g;
    if (FInsertMark == kNil || !ItemGeometry(FInsertMark, &g))
        return;
    const int y = FInsertMarkAfter ? g.bottom - 1 : g.top;
    const COLORREF color = FInsertMarkColor == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : FInsertMarkColor;
    const QColor c = ColorRefToQColor(color);
    const int left = g.imageLeft;
    const int right = std::max(g.labelRight, left + 2 * FIndent);
    p.fillRect(QRect(left, y - 1, right - left, 2), c);
    p.fillRect(QRect(left, y - 3, 1, 6), c);
    p.fillRect(QRect(right - 1, y - 3, 1, 6), c);
}

HIMAGELIST TNativeTreeWindow::CreateDragImage(TSlot s)
{
    const HTREEITEM handle = FItems.Handle(s);
    const QString label = QString::fromUtf8(ItemText(s).c_str());
    int image = -1;
    if (FNormalImages && FItems.Resolve(handle) == s)
        image = ItemImage(s, false);
    if (FItems.Resolve(handle) != s)
        return nullptr;
    int cx = 0, cy = 0;
    const bool withImage = image >= 0 && ImageList_GetIconSize(FNormalImages, &cx, &cy);
    const QFont font = ItemFont(s);
    const int labelWidth = FLabels.Get(label, font)->BoxWidth();
    const int labelLeft = withImage ? cx + kImageGap : 0;
    const int width = labelLeft + labelWidth;
    const int height = std::max(FItemHeight, withImage ? cy : 0);
    // The row as it looks unselected: the label on the tree's background.
    QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
    picture.fill(ColorRefToQColor(BackgroundColor()));
    {
        QPainter p(&picture);
        if (withImage)
            p.drawImage(0, (height - cy) / 2, ImageList_GetImage(FNormalImages, image));
        p.setFont(font);
        p.setPen(ColorRefToQColor(TextColor()));
        p.drawText(QRect(labelLeft + TLabelLine::kPadding, 0, labelWidth, height),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, label);
    }
    HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 1, 1);
    if (list && ImageList_Add(list, picture) < 0) {
        ImageList_Destroy(list);
        return nullptr;
    }
    return list;
}

} // namespace lxtree
