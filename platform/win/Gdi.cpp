#include "platform/win/Gdi.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <memory>

#include "platform/memory/HandleTable.h"

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
