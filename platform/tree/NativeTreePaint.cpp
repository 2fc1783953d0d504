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

constexpr int kLabelPadding = 2;
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
    int top = 0;
    for (TSlot t = FTop; t != kNil && top < update.bottom;) {
        const int bottom = top + FItems[t].integral * FItemHeight;
        const HTREEITEM handle = FItems.Handle(t);
        if (bottom > update.top)
            PaintItem(dc, t, top, DWORD(pre));
        if (FItems.Resolve(handle) != t || !FItems.IsVisible(t)) {
            Invalidate(); // a handler changed the tree while we painted it
            break;
        }
        t = FItems.NextVisible(t);
        top = bottom;
    }
    PaintInsertMark(p);
    if (pre & CDRF_NOTIFYPOSTPAINT)
        CustomDraw(dc, CDDS_POSTPAINT, client, kNil, 0, nullptr, nullptr, 0);
    if (FContentWidth > contentWidth && !FScrollUpdatePosted) {
        FScrollUpdatePosted = true;
        PostMessageA(FHwnd, TVM_PRIVATE_UPDATESCROLL, 0, 0);
    }
}

void TNativeTreeWindow::PaintItem(HDC dc, TSlot s, int top, DWORD prepaintFlags)
{
    const HTREEITEM handle = FItems.Handle(s);
    const UINT itemStateBits = FItems[s].state;
    const bool drop = (itemStateBits & TVIS_DROPHILITED) != 0;
    const bool selected = (itemStateBits & TVIS_SELECTED) != 0 && (FDropHilite == kNil || drop);
    const bool active = drop || FFocused;
    const bool highlighted = drop || (selected && (FFocused || (FStyle & TVS_SHOWSELALWAYS)));
    const bool hot = s == FHot && (FStyle & TVS_TRACKSELECT);
    // The colours proposed to the custom-draw stages; what they leave is what is drawn.
    COLORREF text = highlighted ? GetSysColor(active ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT)
                    : hot       ? GetSysColor(COLOR_HOTLIGHT)
                                : TextColor();
    COLORREF textBk = highlighted ? GetSysColor(active ? COLOR_HIGHLIGHT : COLOR_BTNFACE) : BackgroundColor();
    UINT cdis = 0;
    if (itemStateBits & TVIS_SELECTED)
        cdis |= CDIS_SELECTED;
    if (s == FCaret && FFocused)
        cdis |= CDIS_FOCUS;
    if (s == FHot && (FStyle & TVS_TRACKSELECT))
        cdis |= CDIS_HOT;
    const int level = FItems.Level(s);
    const int bottom = top + FItems[s].integral * FItemHeight;
    const RECT row{0, top, ClientWidth(), bottom};

    bool postErase = false;
    if (prepaintFlags & CDRF_NOTIFYITEMERASE) {
        const LRESULT erase = CustomDraw(dc, CDDS_ITEMPREERASE, row, s, cdis, &text, &textBk, level);
        postErase = (erase & CDRF_NOTIFYPOSTERASE) || (prepaintFlags & CDRF_NOTIFYPOSTERASE);
        if (postErase)
            CustomDraw(dc, CDDS_ITEMPOSTERASE, row, s, cdis, &text, &textBk, level);
        if (FItems.Resolve(handle) != s)
            return;
    }
    LRESULT itemResult = CDRF_DODEFAULT;
    if (prepaintFlags & CDRF_NOTIFYITEMDRAW) {
        itemResult = CustomDraw(dc, CDDS_ITEMPREPAINT, row, s, cdis, &text, &textBk, level);
        if (FItems.Resolve(handle) != s || (itemResult & CDRF_SKIPDEFAULT))
            return;
    }
    QFont font = ItemFont(s);
    bool customFont = false;
    if (itemResult & CDRF_NEWFONT) {
        QFont selectedFont;
        if (FontFromHandle(GetCurrentObjectFont(dc), &selectedFont)) {
            font = selectedFont;
            customFont = true;
        }
    }
    if (hot)
        font.setUnderline(true);
    const QString label = QString::fromUtf8(ItemText(s).c_str());
    if (FItems.Resolve(handle) != s)
        return;
    const TLabelLine labelLine(label, font);
    const int labelWidth = labelLine.Width() + 2 * kLabelPadding;
    if (customFont)
        FCustomLabelWidths[s] = labelWidth;
    else if (!FCustomLabelWidths.empty())
        FCustomLabelWidths.erase(s);
    const TItemGeometry g = Geometry(s, top, labelWidth);

    QPainter& p = *dc->painter;
    const bool fullRow = (FStyle & TVS_FULLROWSELECT) != 0;
    if (fullRow && textBk != CLR_NONE && (highlighted || textBk != BackgroundColor()))
        p.fillRect(QRect(0, top, row.right, bottom - top), ColorRefToQColor(textBk));
    if (!fullRow && (FStyle & TVS_HASLINES))
        PaintLines(p, s, g);
    if (g.buttonRight > g.buttonLeft && ItemHasButton(s))
        PaintButton(p, s, g);
    if (FItems.Resolve(handle) != s)
        return;
    PaintImages(dc, s, g);
    if (FItems.Resolve(handle) != s)
        return;

    const QRect labelRect(g.labelLeft, top, labelWidth, bottom - top);
    if (!fullRow && textBk != CLR_NONE)
        p.fillRect(labelRect, ColorRefToQColor(textBk));
    p.setPen(ColorRefToQColor(text));
    labelLine.Draw(p, labelRect.adjusted(kLabelPadding, 0, 0, 0));
    if (s == FCaret && FFocused) {
        QPen pen(ColorRefToQColor(text), 1, Qt::DotLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const QRect focus = fullRow ? QRect(0, top, row.right, bottom - top) : labelRect;
        p.drawRect(focus.adjusted(0, 0, -1, -1));
    }
    FContentWidth = std::max(FContentWidth, g.labelRight + FXPos);

    if (itemResult & CDRF_NOTIFYPOSTPAINT)
        CustomDraw(dc, CDDS_ITEMPOSTPAINT, row, s, cdis, &text, &textBk, level);
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
    const bool firstAtRoot = FItems[s].parent == kRoot && FItems[s].prev == kNil;
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
    p.fillRect(box, ColorRefToQColor(GetSysColor(COLOR_WINDOW)));
    p.setPen(ColorRefToQColor(GetSysColor(COLOR_BTNSHADOW)));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box.adjusted(0, 0, -1, -1));
    p.setPen(ColorRefToQColor(GetSysColor(COLOR_WINDOWTEXT)));
    p.drawLine(cx - 2, cy, cx + 2, cy);
    if (!FItems[s].Expanded())
        p.drawLine(cx, cy - 2, cx, cy + 2);
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
    int top = 0;
    if (FInsertMark == kNil || !ItemTop(FInsertMark, &top))
        return;
    const TItemGeometry g = Geometry(FInsertMark, top);
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
    const int labelWidth = TLabelLine(label, font).Width() + 2 * kLabelPadding;
    const int width = (withImage ? cx + 2 : 0) + labelWidth;
    const int height = std::max(FItemHeight, withImage ? cy : 0);
    QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    {
        QPainter p(&picture);
        if (withImage)
            p.drawImage(0, (height - cy) / 2, ImageList_GetImage(FNormalImages, image));
        p.setFont(font);
        p.setPen(ColorRefToQColor(TextColor()));
        p.drawText(QRect(withImage ? cx + 2 + kLabelPadding : kLabelPadding, 0, labelWidth, height),
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
