#include "platform/win/Gdi.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <memory>
#include <vector>

namespace {

// Font handles: slot index + 1 in the low 32 bits, generation in the high 32 bits.
struct TFontTable {
    std::vector<std::unique_ptr<QFont>> fonts;
    std::vector<std::uint32_t> generations;
    std::vector<std::uint32_t> freeSlots;
};

// Never freed: fonts released by static objects at exit still find their table.
TFontTable& Fonts()
{
    static TFontTable* table = new TFontTable;
    return *table;
}

HFONT EncodeFont(std::uint32_t slot, std::uint32_t generation)
{
    return reinterpret_cast<HFONT>((std::uintptr_t(generation) << 32) | (std::uintptr_t(slot) + 1));
}

QFont* FindFont(HFONT handle)
{
    auto bits = reinterpret_cast<std::uintptr_t>(handle);
    std::uint32_t slot = std::uint32_t(bits & 0xFFFFFFFFu) - 1;
    std::uint32_t generation = std::uint32_t(bits >> 32);
    TFontTable& t = Fonts();
    if (!handle || slot >= t.fonts.size() || t.generations[slot] != generation)
        return nullptr;
    return t.fonts[slot].get();
}

} // namespace

HFONT CreateFontHandle(const QFont& font)
{
    TFontTable& t = Fonts();
    std::uint32_t slot;
    if (!t.freeSlots.empty()) {
        slot = t.freeSlots.back();
        t.freeSlots.pop_back();
    } else {
        slot = std::uint32_t(t.fonts.size());
        t.fonts.emplace_back();
        t.generations.push_back(1);
    }
    t.fonts[slot] = std::make_unique<QFont>(font);
    return EncodeFont(slot, t.generations[slot]);
}

BOOL DeleteObject(HFONT font)
{
    if (!FindFont(font))
        return FALSE;
    TFontTable& t = Fonts();
    std::uint32_t slot = std::uint32_t(reinterpret_cast<std::uintptr_t>(font) & 0xFFFFFFFFu) - 1;
    t.fonts[slot].reset();
    ++t.generations[slot];
    t.freeSlots.push_back(slot);
    return TRUE;
}

bool FontFromHandle(HFONT font, QFont* out)
{
    QFont* f = FindFont(font);
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
