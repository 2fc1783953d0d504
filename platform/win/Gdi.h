#pragma once
// Device contexts and font handles: what a window routine paints with.
// A device context wraps the QPainter of one paint pass together with the
// selected font and the text and background colours, so that a custom-draw
// handler can change them for the item being drawn.
#include <QColor>
#include <QFont>
#include "platform/win/WinTypes.h"

class QImage;
class QPaintDevice;
class QPainter;

struct TDeviceContext {
    QPainter* painter = nullptr;
    HWND hwnd = nullptr;
    QPaintDevice* device = nullptr; // whose metrics GetDeviceCaps reports (null: see there)
    HFONT font = nullptr;           // selected font; null means the painter's font
    COLORREF textColor = 0;         // RGB(0,0,0)
    COLORREF bkColor = 0x00FFFFFF;  // RGB(255,255,255)
    int bkMode = 2;                 // OPAQUE
};
constexpr int TRANSPARENT = 1, OPAQUE = 2;

// A context over the client area of a window (the screen for a null window): reading
// its pixels renders the window as its paint routine draws it now. It has no painter:
// drawing on a window happens in its paint routine. ReleaseDC frees it.
HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);
// The pixels of a rectangle of the context's surface: a painter's image or pixmap, or
// the client area of a window; a null image when the surface cannot be read.
QImage SurfacePixels(HDC dc, const RECT& rect);

// Device capabilities. A context's device is the one it names, else its painter's,
// else its window's; a context with none of them is the screen.
constexpr int HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10, BITSPIXEL = 12, PLANES = 14,
              RASTERCAPS = 38, LOGPIXELSX = 88, LOGPIXELSY = 90, SIZEPALETTE = 104;
constexpr int RC_BITBLT = 0x0001, RC_DI_BITMAP = 0x0080, RC_PALETTE = 0x0100, RC_STRETCHBLT = 0x0800,
              RC_STRETCHDIB = 0x2000;
// No device here is a palette device: colours are always true colours.
int GetDeviceCaps(HDC dc, int index);

// Font handles are table entries: a deleted handle reads as no font.
HFONT CreateFontHandle(const QFont& font);
BOOL DeleteObject(HFONT font);
bool FontFromHandle(HFONT font, QFont* out);

// Selects the font into the context (also into its painter) and returns the previous one.
HFONT SelectObject(HDC dc, HFONT font);
HFONT GetCurrentObjectFont(HDC dc);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);

inline QColor ColorRefToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline COLORREF QColorToColorRef(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

// System colours by their index (COLOR_WINDOW and friends), taken from the
// application palette so that the control follows the desktop theme.
constexpr int COLOR_SCROLLBAR = 0, COLOR_BACKGROUND = 1, COLOR_ACTIVECAPTION = 2, COLOR_INACTIVECAPTION = 3,
              COLOR_MENU = 4, COLOR_WINDOW = 5, COLOR_WINDOWFRAME = 6, COLOR_MENUTEXT = 7,
              COLOR_WINDOWTEXT = 8, COLOR_CAPTIONTEXT = 9, COLOR_ACTIVEBORDER = 10,
              COLOR_INACTIVEBORDER = 11, COLOR_APPWORKSPACE = 12, COLOR_HIGHLIGHT = 13,
              COLOR_HIGHLIGHTTEXT = 14, COLOR_BTNFACE = 15, COLOR_BTNSHADOW = 16, COLOR_GRAYTEXT = 17,
              COLOR_BTNTEXT = 18, COLOR_INACTIVECAPTIONTEXT = 19, COLOR_BTNHIGHLIGHT = 20,
              COLOR_3DDKSHADOW = 21, COLOR_3DLIGHT = 22, COLOR_INFOTEXT = 23, COLOR_INFOBK = 24,
              COLOR_HOTLIGHT = 26, COLOR_GRADIENTACTIVECAPTION = 27,
              COLOR_GRADIENTINACTIVECAPTION = 28, COLOR_MENUHILIGHT = 29, COLOR_MENUBAR = 30;
COLORREF GetSysColor(int index);
