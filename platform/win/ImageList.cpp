#include "platform/win/ImageList.h"

#include <QPainter>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/memory/HandleTable.h"

namespace {

struct TImageListData {
    int cx = 16;
    int cy = 16;
    UINT flags = 0;
    std::vector<QImage> images;
    std::array<int, 16> overlays; // overlay number -> image index, -1 when unset
    TImageListData() { overlays.fill(-1); }
};

// Image list handles are entries of a handle table: a destroyed list's handle never
// resolves, even after its slot is reused.
// Never destroyed: image lists held by static objects may be freed during exit,
// after a function-local table would already be gone.
THandleTable<TImageListData, HIMAGELIST>& Lists()
{
    static auto* table = new THandleTable<TImageListData, HIMAGELIST>;
    return *table;
}

TImageListData* Resolve(HIMAGELIST list) { return Lists().Find(list); }

constexpr QImage::Format ListFormat = QImage::Format_ARGB32_Premultiplied;

// The image cut into cell-sized pieces from left to right; a narrower image is one cell.
std::vector<QImage> SplitIntoCells(const TImageListData& d, const QImage& image)
{
    std::vector<QImage> cells;
    if (image.isNull())
        return cells;
    const QImage source = image.convertToFormat(ListFormat);
    const int count = std::max(1, source.width() / d.cx);
    for (int i = 0; i < count; ++i) {
        QImage cell(d.cx, d.cy, ListFormat);
        cell.fill(Qt::transparent);
        QPainter p(&cell);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, source, i * d.cx, 0, d.cx, d.cy);
        p.end();
        cells.push_back(cell);
    }
    return cells;
}

void MakeColorTransparent(QImage& image, COLORREF mask)
{
    const QRgb key = qRgb(GetRValue(mask), GetGValue(mask), GetBValue(mask));
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(line[x]) == 255 && (line[x] | 0xFF000000u) == key)
                line[x] = 0;
    }
}

// Mixes every visible pixel with the highlight colour; weight is the highlight's share.
QImage BlendWithHighlight(const QImage& image, int weightPercent)
{
    const COLORREF hl = GetSysColor(COLOR_HIGHLIGHT);
    const int hr = GetRValue(hl), hg = GetGValue(hl), hb = GetBValue(hl);
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb c = line[x];
            if (qAlpha(c) == 0)
                continue;
            auto mix = [weightPercent](int a, int b) { return (a * (100 - weightPercent) + b * weightPercent) / 100; };
            line[x] = qRgba(mix(qRed(c), hr), mix(qGreen(c), hg), mix(qBlue(c), hb), qAlpha(c));
        }
    }
    return out;
}

QImage Silhouette(const QImage& image)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] = qAlpha(line[x]) ? qRgba(0, 0, 0, 255) : qRgba(255, 255, 255, 255);
    }
    return out;
}

QImage StyledImage(const QImage& image, UINT style)
{
    if (style & ILD_MASK)
        return Silhouette(image);
    if (style & ILD_BLEND50)
        return BlendWithHighlight(image, 50);
    if (style & ILD_BLEND25)
        return BlendWithHighlight(image, 25);
    return image;
}

} // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow)
{
    if (cx <= 0 || cy <= 0)
        return nullptr;
    auto data = std::make_unique<TImageListData>();
    data->cx = cx;
    data->cy = cy;
    data->flags = flags;
    data->images.reserve(size_t(std::max(initial, 0)));
    return Lists().Add(std::move(data));
}

BOOL ImageList_Destroy(HIMAGELIST list)
{
    return Lists().Remove(list) ? TRUE : FALSE;
}

int ImageList_Add(HIMAGELIST list, const QImage& image)
{
    TImageListData* d = Resolve(list);
    if (!d || image.isNull())
        return -1;
    const int first = int(d->images.size());
    for (QImage& cell : SplitIntoCells(*d, image))
        d->images.push_back(std::move(cell));
    return first;
}

int ImageList_AddMasked(HIMAGELIST list, const QImage& image, COLORREF mask)
{
    TImageListData* d = Resolve(list);
    if (!d || image.isNull())
        return -1;
    QImage masked = image.convertToFormat(QImage::Format_ARGB32);
    // The default mask colour is the bottom-left pixel's.
    if (mask == CLR_DEFAULT)
        mask = QColorToColorRef(masked.pixelColor(0, masked.height() - 1));
    if (mask != CLR_NONE)
        MakeColorTransparent(masked, mask);
    return ImageList_Add(list, masked);
}

int ImageList_ReplaceImage(HIMAGELIST list, int index, const QImage& image)
{
    TImageListData* d = Resolve(list);
    if (!d || index < 0 || index >= int(d->images.size()) || image.isNull())
        return FALSE;
    d->images[size_t(index)] = SplitIntoCells(*d, image).front();
    return TRUE;
}

BOOL ImageList_Remove(HIMAGELIST list, int index)
{
    TImageListData* d = Resolve(list);
    if (!d)
        return FALSE;
    if (index == -1) {
        d->images.clear();
        return TRUE;
    }
    if (index < 0 || index >= int(d->images.size()))
        return FALSE;
    d->images.erase(d->images.begin() + index);
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST list)
{
    const TImageListData* d = Resolve(list);
    return d ? int(d->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy)
{
    const TImageListData* d = Resolve(list);
    if (!d)
        return FALSE;
    if (cx)
        *cx = d->cx;
    if (cy)
        *cy = d->cy;
    return TRUE;
}

BOOL ImageList_SetIconSize(HIMAGELIST list, int cx, int cy)
{
    TImageListData* d = Resolve(list);
    if (!d || cx <= 0 || cy <= 0)
        return FALSE;
    d->cx = cx;
    d->cy = cy;
    d->images.clear();
    return TRUE;
}

QImage ImageList_GetImage(HIMAGELIST list, int index)
{
    const TImageListData* d = Resolve(list);
    if (!d || index < 0 || index >= int(d->images.size()))
        return QImage();
    return d->images[size_t(index)];
}

BOOL ImageList_SetOverlayImage(HIMAGELIST list, int image, int overlay)
{
    TImageListData* d = Resolve(list);
    if (!d || overlay < 1 || overlay > 15 || image < -1)
        return FALSE;
    d->overlays[size_t(overlay)] = image;
    return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style)
{
    const TImageListData* d = Resolve(list);
    if (!d || !dc || !dc->painter || !dc->painter->isActive())
        return FALSE;
    if (index < 0 || index >= int(d->images.size()))
        return FALSE;
    QPainter& p = *dc->painter;
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawImage(x, y, StyledImage(d->images[size_t(index)], style));
    const int overlay = int((style & ILD_OVERLAYMASK) >> 8);
    if (overlay >= 1 && overlay <= 15) {
        const int overlayIndex = d->overlays[size_t(overlay)];
        if (overlayIndex >= 0 && overlayIndex < int(d->images.size()))
            p.drawImage(x, y, StyledImage(d->images[size_t(overlayIndex)], style));
    }
    p.restore();
    return TRUE;
}
