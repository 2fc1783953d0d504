#pragma once
// Bitmap handles and device-independent bitmaps: rows of pixels in memory that a
// context can stretch onto its surface. A bitmap handle owns a QImage; the DIB calls
// convert between it and rows of 24- or 32-bit blue-green-red pixels, each row padded
// to four bytes, bottom row first for a positive height.
#include <QImage>
#include "platform/win/WinTypes.h"

struct BITMAPINFOHEADER {
    DWORD biSize = 40;
    LONG biWidth = 0;
    LONG biHeight = 0; // positive: bottom-up rows; negative: top-down
    WORD biPlanes = 1;
    WORD biBitCount = 0;
    DWORD biCompression = 0;
    DWORD biSizeImage = 0;
    LONG biXPelsPerMeter = 0;
    LONG biYPelsPerMeter = 0;
    DWORD biClrUsed = 0;
    DWORD biClrImportant = 0;
};
struct RGBQUAD { BYTE rgbBlue = 0, rgbGreen = 0, rgbRed = 0, rgbReserved = 0; };
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};
constexpr DWORD BI_RGB = 0;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr DWORD SRCCOPY = 0x00CC0020;

// The handle owns the image until DeleteObject or TakeBitmapImage.
HBITMAP CreateBitmapHandle(QImage image);
QImage TakeBitmapImage(HBITMAP bitmap);
BOOL DeleteObject(HBITMAP bitmap);

// The bytes of one row of a DIB.
DWORD DibStride(LONG width, WORD bitCount);

// Without bits: completes the header (the size of the whole image; with a bit count of
// 0 also width, height and bit count) and returns nonzero. With bits: copies the rows
// start .. start + lines - 1 (counted from the bottom for a positive height) into bits and
// returns the number copied. 24 and 32 bits a pixel; 0 for anything else.
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage);

// Draws the source rectangle of the DIB (y counted from the bottom for a bottom-up DIB)
// stretched into the destination rectangle with SRCCOPY. Only the part of the
// destination that lies on the device is converted and drawn. Returns the number of
// source rows, 0 on failure (no painter, other formats, negative sizes).
int StretchDIBits(HDC dc, int xDest, int yDest, int widthDest, int heightDest, int xSrc, int ySrc, int widthSrc,
                  int heightSrc, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
