#include "platform/win/Gdi.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QPaintEngine>
#include <QPixmap>
#include <QScreen>
#include <memory>

#include "platform/memory/HandleTable.h"
#include "platform/win/WinApi.h"
#include "platform/win/WindowWidget.h"

namespace {

// Font handles are entries of a handle table: a deleted font's handle resolves to nothing.
// Never freed: fonts released by static objects at exit still find their table.
THandleTable<QFont, HFONT>& Fonts()
{
    static auto* table = new THandleTable<QFont, HFONT>;
    return *table;
}

} // namespace

HFONT CreateFontHandle(const QFont& font) { return Fonts().Add(std::make_unique<QFont>(font)); }

BOOL DeleteObject(HFONT font) { return Fonts().Remove(font) ? TRUE : FALSE; }

bool FontFromHandle(HFONT font, QFont* out)
{
    QFont* f = Fonts().Find(font);
    if (!f)
        return false;
    if (out)
        *out = *f;
    return true;
}

HFONT SelectObject(HDC dc, HFONT font)
{
    if (!dc)
        return nullptr;
    HFONT previous = dc->font;
    dc->font = font;
    QFont qfont;
    if (dc->painter && FontFromHandle(font, &qfont))
        dc->painter->setFont(qfont);
    return previous;
}

HFONT GetCurrentObjectFont(HDC dc) { return dc ? dc->font : nullptr; }

COLORREF SetTextColor(HDC dc, COLORREF color)
{
    if (!dc)
        return CLR_NONE;
    COLORREF previous = dc->textColor;
    dc->textColor = color;
    return previous;
}

COLORREF GetTextColor(HDC dc) { return dc ? dc->textColor : CLR_NONE; }

COLORREF SetBkColor(HDC dc, COLORREF color)
{
    if (!dc)
        return CLR_NONE;
    COLORREF previous = dc->bkColor;
    dc->bkColor = color;
    return previous;
}

COLORREF GetBkColor(HDC dc) { return dc ? dc->bkColor : CLR_NONE; }

int SetBkMode(HDC dc, int mode)
{
    if (!dc)
        return 0;
    int previous = dc->bkMode;
    dc->bkMode = mode;
    return previous;
}

COLORREF GetSysColor(int index)
{
    const QPalette palette = QApplication::palette();
    auto role = [&](QPalette::ColorRole r, QPalette::ColorGroup g = QPalette::Active) {
        return QColorToColorRef(palette.color(g, r));
    };
    switch (index) {
    case COLOR_WINDOW: return role(QPalette::Base);
    case COLOR_WINDOWTEXT: return role(QPalette::Text);
    case COLOR_HIGHLIGHT: return role(QPalette::Highlight);
    case COLOR_HIGHLIGHTTEXT: return role(QPalette::HighlightedText);
    case COLOR_BTNFACE: return role(QPalette::Button);
    case COLOR_BTNTEXT: return role(QPalette::ButtonText);
    case COLOR_BTNSHADOW: return role(QPalette::Mid);
    case COLOR_BTNHIGHLIGHT: return role(QPalette::Light);
    case COLOR_3DDKSHADOW: return role(QPalette::Shadow);
    case COLOR_3DLIGHT: return role(QPalette::Midlight);
    case COLOR_GRAYTEXT: return role(QPalette::Text, QPalette::Disabled);
    case COLOR_INFOTEXT: return role(QPalette::ToolTipText);
    case COLOR_INFOBK: return role(QPalette::ToolTipBase);
    case COLOR_HOTLIGHT: return role(QPalette::Link);
    case COLOR_MENU:
    case COLOR_MENUBAR: return role(QPalette::Window);
    case COLOR_MENUTEXT: return role(QPalette::WindowText);
    case COLOR_MENUHILIGHT: return role(QPalette::Highlight);
    case COLOR_APPWORKSPACE:
    case COLOR_BACKGROUND: return role(QPalette::Dark);
    case COLOR_SCROLLBAR: return role(QPalette::Button);
    case COLOR_ACTIVECAPTION:
    case COLOR_GRADIENTACTIVECAPTION: return role(QPalette::Highlight);
    case COLOR_INACTIVECAPTION:
    case COLOR_GRADIENTINACTIVECAPTION: return role(QPalette::Mid);
    case COLOR_CAPTIONTEXT: return role(QPalette::HighlightedText);
    case COLOR_INACTIVECAPTIONTEXT: return role(QPalette::Text, QPalette::Disabled);
    case COLOR_WINDOWFRAME:
    case COLOR_ACTIVEBORDER:
    case COLOR_INACTIVEBORDER: return role(QPalette::Dark);
    default: return 0;
    }
}

// ---------------------------------------------------------------------------
// Window contexts and device capabilities

namespace {

QImage WindowClientPixels(HWND hwnd, const RECT& rect)
{
    QWidget* widget = WindowWidget(hwnd);
    if (!widget)
        return QImage();
    QRect client = widget->rect();
    if (auto* window = qobject_cast<TWindowWidget*>(widget))
        client = window->ClientRect();
    const QRect area = QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top)
                           .translated(client.topLeft());
    QImage image = widget->grab(area).toImage();
    if (image.size() != area.size()) // a high-density screen renders more pixels
        image = image.scaled(area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(1);
    return image;
}

QImage PainterPixels(QPainter* painter, const RECT& rect)
{
    if (!painter->isActive() || !painter->paintEngine())
        return QImage();
    const QRect area =
        painter->deviceTransform().mapRect(QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top));
    QPaintDevice* device = painter->paintEngine()->paintDevice();
    if (!device)
        return QImage();
    if (device->devType() == QInternal::Image)
        return static_cast<QImage*>(device)->copy(area);
    if (device->devType() == QInternal::Pixmap)
        return static_cast<QPixmap*>(device)->copy(area).toImage();
    return QImage();
}

QPaintDevice* DeviceOf(HDC dc)
{
    if (dc->device)
        return dc->device;
    if (dc->painter && dc->painter->isActive())
        return dc->painter->device();
    return dc->hwnd ? WindowWidget(dc->hwnd) : nullptr;
}

int ScreenCaps(int index)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->geometry().size() : QSize(1024, 768);
    const QSizeF mm = screen ? screen->physicalSize() : QSizeF(size) * 25.4 / 96;
    switch (index) {
    case HORZRES: return size.width();
    case VERTRES: return size.height();
    case HORZSIZE: return qRound(mm.width());
    case VERTSIZE: return qRound(mm.height());
    case LOGPIXELSX: return screen ? qRound(screen->logicalDotsPerInchX()) : 96;
    case LOGPIXELSY: return screen ? qRound(screen->logicalDotsPerInchY()) : 96;
    case BITSPIXEL: return screen ? screen->depth() : 24;
    default: return -1;
    }
}

int PaintDeviceCaps(const QPaintDevice& device, int index)
{
    switch (index) {
    case HORZRES: return device.width();
    case VERTRES: return device.height();
    case HORZSIZE: return device.widthMM();
    case VERTSIZE: return device.heightMM();
    case LOGPIXELSX: return device.logicalDpiX();
    case LOGPIXELSY: return device.logicalDpiY();
    case BITSPIXEL: return device.depth();
    default: return -1;
    }
}

} // namespace

HDC GetDC(HWND hwnd)
{
    if (hwnd && !IsWindow(hwnd))
        return nullptr;
    auto* dc = new TDeviceContext;
    dc->hwnd = hwnd;
    return dc;
}

int ReleaseDC(HWND, HDC dc)
{
    if (!dc || dc->painter)
        return 0; // a paint pass's context belongs to the pass
    delete dc;
    return 1;
}

QImage SurfacePixels(HDC dc, const RECT& rect)
{
    if (!dc)
        return QImage();
    if (dc->painter)
        return PainterPixels(dc->painter, rect);
    return dc->hwnd ? WindowClientPixels(dc->hwnd, rect) : QImage();
}

int GetDeviceCaps(HDC dc, int index)
{
    if (!dc)
        return 0;
    switch (index) {
    case PLANES: return 1;
    case SIZEPALETTE: return 0;
    case RASTERCAPS: return RC_BITBLT | RC_DI_BITMAP | RC_STRETCHBLT | RC_STRETCHDIB;
    default: break;
    }
    const QPaintDevice* device = DeviceOf(dc);
    const int value = device ? PaintDeviceCaps(*device, index) : ScreenCaps(index);
    return value < 0 ? 0 : value;
}
