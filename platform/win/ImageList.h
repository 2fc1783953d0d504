#pragma once
// Native image lists: strips of equally sized images addressed by a handle, drawn
// into a device context. Handles are table entries: a destroyed list draws nothing.
#include <QImage>
#include "platform/win/Gdi.h"
#include "platform/win/WinTypes.h"

constexpr UINT ILC_MASK = 0x0001, ILC_COLOR = 0x0000, ILC_COLOR24 = 0x0018, ILC_COLOR32 = 0x0020;
constexpr UINT ILD_NORMAL = 0x0000, ILD_TRANSPARENT = 0x0001, ILD_MASK = 0x0010, ILD_BLEND25 = 0x0002,
               ILD_FOCUS = 0x0002, ILD_BLEND50 = 0x0004, ILD_SELECTED = 0x0004, ILD_BLEND = 0x0004,
               ILD_OVERLAYMASK = 0x0F00;

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
// Appends the image (split into as many cx-wide images as it holds); returns the first new index or -1.
int ImageList_Add(HIMAGELIST list, const QImage& image);
// Like ImageList_Add, with the pixels of colour mask made transparent.
int ImageList_AddMasked(HIMAGELIST list, const QImage& image, COLORREF mask);
int ImageList_ReplaceImage(HIMAGELIST list, int index, const QImage& image);
BOOL ImageList_Remove(HIMAGELIST list, int index); // -1 removes all
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
BOOL ImageList_SetIconSize(HIMAGELIST list, int cx, int cy); // removes all images
QImage ImageList_GetImage(HIMAGELIST list, int index);
// Overlay images: overlay number 1..15 names image index.
BOOL ImageList_SetOverlayImage(HIMAGELIST list, int image, int overlay);
// Draws image i at (x, y); ILD_SELECTED / ILD_FOCUS blend it with the highlight colour;
// an overlay number in ILD_OVERLAYMASK (INDEXTOOVERLAYMASK) draws that overlay on top.
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
