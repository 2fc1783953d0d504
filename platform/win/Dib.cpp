#include "platform/win/Dib.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "platform/memory/HandleTable.h"
#include "platform/win/Gdi.h"

namespace {

THandleTable<QImage, HBITMAP>& Bitmaps()
{
    static THandleTable<QImage, HBITMAP> table;
    return table;
}

bool SupportedBitCount(WORD bits) { return bits == 24 || bits == 32; }

void WriteRow(const QImage& rgb32, int y, WORD bitCount, BYTE* out)
{
    const auto* line = reinterpret_cast<const QRgb*>(rgb32.constScanLine(y));
    const int width = rgb32.width();
    const int step = bitCount / 8;
    for (int x = 0; x < width; ++x, out += step) {
        out[0] = BYTE(qBlue(line[x]));
        out[1] = BYTE(qGreen(line[x]));
        out[2] = BYTE(qRed(line[x]));
        if (step == 4)
            out[3] = 0;
    }
}

// The source rows [first, first + count) of the DIB, top row first, as an image.
QImage DibRows(const BYTE* bits, const BITMAPINFOHEADER& h, int first, int count)
{
    const int height = std::abs(int(h.biHeight));
    const DWORD stride = DibStride(h.biWidth, h.biBitCount);
    const QImage::Format format = h.biBitCount == 24 ? QImage::Format_BGR888 : QImage::Format_RGB32;
    QImage rows(int(h.biWidth), count, format);
    for (int i = 0; i < count; ++i) {
        const int top = first + i;
        const int stored = h.biHeight > 0 ? height - 1 - top : top;
        std::memcpy(rows.scanLine(i), bits + std::size_t(stored) * stride, std::min<std::size_t>(stride, rows.bytesPerLine()));
    }
    return rows;
}

} // namespace

HBITMAP CreateBitmapHandle(QImage image) { return Bitmaps().Add(std::make_unique<QImage>(std::move(image))); }

QImage TakeBitmapImage(HBITMAP bitmap)
{
    std::unique_ptr<QImage> image = Bitmaps().Remove(bitmap);
    return image ? std::move(*image) : QImage();
}

BOOL DeleteObject(HBITMAP bitmap) { return Bitmaps().Remove(bitmap) ? TRUE : FALSE; }

DWORD DibStride(LONG width, WORD bitCount) { return DWORD((std::abs(width) * bitCount + 31) / 32 * 4); }

int GetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT)
{
    const QImage* image = Bitmaps().Find(bitmap);
    if (!image || !info)
        return 0;
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (!bits) {
        if (h.biBitCount == 0) {
            h.biWidth = image->width();
            h.biHeight = image->height();
            h.biBitCount = 32;
        }
        if (!SupportedBitCount(h.biBitCount))
            return 0;
        h.biPlanes = 1;
        h.biCompression = BI_RGB;
        h.biSizeImage = DibStride(h.biWidth, h.biBitCount) * DWORD(std::abs(h.biHeight));
        return 1;
    }
    if (!SupportedBitCount(h.biBitCount) || h.biWidth != image->width())
        return 0;
    const int height = image->height();
    const int count = std::clamp(height - int(start), 0, int(lines));
    if (count == 0)
        return 0;
    // Only the rows asked for are converted: the bitmap may be far larger.
    const bool bottomUp = h.biHeight > 0;
    const int bandTop = bottomUp ? height - int(start) - count : int(start);
    const QImage band = image->copy(0, bandTop, image->width(), count).convertToFormat(QImage::Format_RGB32);
    const DWORD stride = DibStride(h.biWidth, h.biBitCount);
    auto* out = static_cast<BYTE*>(bits);
    for (int i = 0; i < count; ++i) // i counts scan lines in the DIB's own order
        WriteRow(band, bottomUp ? count - 1 - i : i, h.biBitCount, out + std::size_t(i) * stride);
    return count;
}

int StretchDIBits(HDC dc, int xDest, int yDest, int widthDest, int heightDest, int xSrc, int ySrc, int widthSrc,
                  int heightSrc, const void* bits, const BITMAPINFO* info, UINT, DWORD rop)
{
    if (!dc || !dc->painter || !dc->painter->isActive() || !bits || !info || rop != SRCCOPY)
        return 0;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (!SupportedBitCount(h.biBitCount) || widthDest <= 0 || heightDest <= 0 || widthSrc <= 0 || heightSrc <= 0)
        return 0;
    const int height = std::abs(int(h.biHeight));
    const int top = h.biHeight > 0 ? height - ySrc - heightSrc : ySrc; // the source's top row
    if (top < 0 || top + heightSrc > height || xSrc < 0 || xSrc + widthSrc > h.biWidth)
        return 0;
    // Only the source rows that land on the device are converted.
    const double scale = double(heightDest) / heightSrc;
    const int deviceHeight = GetDeviceCaps(dc, VERTRES);
    const int firstRow = std::clamp(int(std::floor(-yDest / scale)), 0, heightSrc);
    const int endRow = std::clamp(int(std::ceil((deviceHeight - yDest) / scale)), firstRow, heightSrc);
    if (endRow > firstRow) {
        const QImage rows = DibRows(static_cast<const BYTE*>(bits), h, top + firstRow, endRow - firstRow);
        const QRectF target(xDest, yDest + firstRow * scale, widthDest, (endRow - firstRow) * scale);
        QPainter& p = *dc->painter;
        p.save();
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.setRenderHint(QPainter::LosslessImageRendering);
        p.drawImage(target, rows, QRectF(xSrc, 0, widthSrc, rows.height()));
        p.restore();
    }
    return heightSrc;
}
