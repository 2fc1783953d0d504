// The check glyphs, drawn pixel by pixel so that they stay crisp at their one size.
// Coordinates are inside one 16 x 16 cell, column and row from its top-left corner.
#include "control/CheckGlyphStrip.h"

#include <QPainter>
#include <initializer_list>

#include "model/CheckGlyphs.h"

namespace {

// One cell of the strip. Pixel art is given as rows of characters, one per pixel:
//   k black   w white   r red   s shadow   f face   i the glyph's interior colour
//   . (or any other character) leaves the pixel as it is.
class TGlyphCell {
public:
    TGlyphCell(QPainter& Painter, int Index, const QColor& Shadow, const QColor& Face)
        : FPainter(Painter), FLeft(Index * CheckGlyphSize), FShadow(Shadow), FFace(Face), FInterior(Qt::white)
    {
    }

    const QColor& Shadow() const { return FShadow; }
    const QColor& Face() const { return FFace; }
    void SetInterior(const QColor& Value) { FInterior = Value; }
    const QColor& Interior() const { return FInterior; }

    // Fills columns Left..Right and rows Top..Bottom, both ends included.
    void Fill(int Left, int Top, int Right, int Bottom, const QColor& Color)
    {
        FPainter.fillRect(QRect(FLeft + Left, Top, Right - Left + 1, Bottom - Top + 1), Color);
    }

    void Art(int Left, int Top, std::initializer_list<const char*> Rows)
    {
        int y = Top;
        for (const char* row : Rows) {
            for (int x = 0; row[x]; ++x) {
                QColor color;
                if (ColorOf(row[x], &color))
                    FPainter.fillRect(QRect(FLeft + Left + x, y, 1, 1), color);
            }
            ++y;
        }
    }

private:
    bool ColorOf(char Code, QColor* Color) const
    {
        switch (Code) {
        case 'k': *Color = Qt::black; return true;
        case 'w': *Color = Qt::white; return true;
        case 'r': *Color = QColor(255, 0, 0); return true;
        case 's': *Color = FShadow; return true;
        case 'f': *Color = FFace; return true;
        case 'i': *Color = FInterior; return true;
        default: return false;
        }
    }

    QPainter& FPainter;
    int FLeft;
    QColor FShadow;
    QColor FFace;
    QColor FInterior;
};

// A 12 x 12 sunken box at columns and rows 1 to 12: shadow outside and black inside
// along the top and left, face along the bottom and right, a 9 x 9 interior.
void DrawCheckBox(TGlyphCell& Cell)
{
    Cell.Fill(1, 1, 11, 1, Cell.Shadow());
    Cell.Fill(1, 1, 1, 11, Cell.Shadow());
    Cell.Fill(2, 2, 11, 2, Qt::black);
    Cell.Fill(2, 2, 2, 11, Qt::black);
    Cell.Fill(1, 12, 12, 12, Cell.Face());
    Cell.Fill(12, 1, 12, 12, Cell.Face());
    Cell.Fill(3, 3, 11, 11, Cell.Interior());
}

void DrawCheckMark(TGlyphCell& Cell)
{
    Cell.Art(4, 4, {
        "......k",
        ".....kk",
        "k...kkk",
        "kk.kkk.",
        "kkkkk..",
        ".kkk...",
        "..k....",
    });
}

// A 12 x 12 ring at columns and rows 1 to 12: a shadow circle, inside it a black arc
// over the upper left half, and the interior.
void DrawRadioRing(TGlyphCell& Cell)
{
    Cell.Art(1, 1, {
        "....ssss....",
        "..sskkkkss..",
        ".skkiiiikis.",
        ".skiiiiiiis.",
        "skiiiiiiiiis",
        "skiiiiiiiiis",
        "skiiiiiiiiis",
        "skiiiiiiiiis",
        ".skiiiiiiis.",
        ".siiiiiiiis.",
        "..ssiiiiss..",
        "....ssss....",
    });
}

// A 5 x 5 dot at columns and rows 5 to 9 with its corners softened.
void DrawRadioDot(TGlyphCell& Cell)
{
    Cell.Art(5, 5, {
        "skkks",
        "kkkkk",
        "kkkkk",
        "kkkkk",
        "skkks",
    });
}

// A 12 x 12 raised button at columns and rows 1 to 12 with a white interior.
void DrawValueButton(TGlyphCell& Cell)
{
    Cell.Fill(1, 1, 11, 1, Cell.Face());
    Cell.Fill(1, 1, 1, 11, Cell.Face());
    Cell.Fill(1, 12, 12, 12, Qt::black);
    Cell.Fill(12, 1, 12, 12, Qt::black);
    Cell.Fill(2, 2, 11, 11, Qt::white);
}

// The text cursor at columns 8 to 10, rows 3 to 10.
void DrawIBeam(TGlyphCell& Cell)
{
    Cell.Art(8, 3, {
        "k.k",
        ".k.",
        ".k.",
        ".k.",
        ".k.",
        ".k.",
        ".k.",
        "k.k",
    });
}

void DrawTextButton(TGlyphCell& Cell)
{
    DrawValueButton(Cell);
    Cell.Art(3, 3, {
        "kkkkk",
        "k.k.k",
        "..k..",
        "..k..",
        "..k..",
        "..k..",
        "..k..",
        ".kkk.",
    });
    DrawIBeam(Cell);
}

void DrawNumberButton(TGlyphCell& Cell)
{
    DrawValueButton(Cell);
    Cell.Art(3, 3, {
        "kkkk",
        "...k",
        "...k",
        "..k.",
        "..k.",
        ".k..",
        ".k..",
        ".k..",
    });
    DrawIBeam(Cell);
}

// A calendar leaf: its frame at columns and rows 3 to 10, two binder rings through
// its top edge, and one marked day in its lower right corner.
void DrawDateButton(TGlyphCell& Cell)
{
    DrawValueButton(Cell);
    Cell.Art(3, 2, {
        "..k..k..",
        "ssksskss",
        "s.k..k.s",
        "s......s",
        "s......s",
        "s......s",
        "s......s",
        "s......s",
        "ssssssss",
    });
    Cell.Fill(7, 7, 10, 10, Cell.Shadow());
}

// A round white clock face of 13 x 13 at columns and rows 1 to 13, shaded black and
// shadow, with ticks at the quarters, a red hand pointing up and two black hands.
void DrawTimeButton(TGlyphCell& Cell)
{
    Cell.Art(1, 1, {
        "....kkkkk....",
        "..kkwwswwkk..",
        ".kwwwwwwwwws.",
        ".kwwwwrwwwws.",
        "kwwwwwrwwwwws",
        "kwwwwwrwwwwws",
        "kswwwwkkkkwss",
        "kwwwwkwwwwwws",
        "kwwwkwwwwwwws",
        ".kwwwwwwwwws.",
        ".kwwwwwwwwws.",
        "..sswwswwss..",
        "....sssss....",
    });
}

// A face-coloured button with a padlock: shackle above, white body with a keyhole.
void DrawLockedButton(TGlyphCell& Cell)
{
    Cell.Fill(1, 1, 11, 11, Cell.Face());
    Cell.Fill(1, 1, 11, 1, Qt::white);
    Cell.Fill(1, 1, 1, 11, Qt::white);
    Cell.Fill(1, 12, 12, 12, Cell.Shadow());
    Cell.Fill(12, 1, 12, 12, Cell.Shadow());
    Cell.Art(4, 2, {
        "..kk..",
        ".k..k.",
        ".k..k.",
        ".k..k.",
        "kkkkkk",
        "kwwwwk",
        "kwkkwk",
        "kwkkwk",
        "kwwwwk",
        "kkkkkk",
    });
}

void DrawGlyph(TGlyphCell& Cell, int Index)
{
    switch (Index) {
    case lxCheckGlyph::BoxUnchecked: DrawCheckBox(Cell); break;
    case lxCheckGlyph::BoxChecked: DrawCheckBox(Cell); DrawCheckMark(Cell); break;
    case lxCheckGlyph::BoxUncheckedGray: Cell.SetInterior(Cell.Face()); DrawCheckBox(Cell); break;
    case lxCheckGlyph::BoxCheckedGray: Cell.SetInterior(Cell.Face()); DrawCheckBox(Cell); DrawCheckMark(Cell); break;
    case lxCheckGlyph::RadioOff: DrawRadioRing(Cell); break;
    case lxCheckGlyph::RadioOn: DrawRadioRing(Cell); DrawRadioDot(Cell); break;
    case lxCheckGlyph::RadioOffGray: Cell.SetInterior(Cell.Face()); DrawRadioRing(Cell); break;
    case lxCheckGlyph::RadioOnGray: Cell.SetInterior(Cell.Face()); DrawRadioRing(Cell); DrawRadioDot(Cell); break;
    case lxCheckGlyph::TextButton: DrawTextButton(Cell); break;
    case lxCheckGlyph::NumberButton: DrawNumberButton(Cell); break;
    case lxCheckGlyph::DateButton: DrawDateButton(Cell); break;
    case lxCheckGlyph::TimeButton: DrawTimeButton(Cell); break;
    case lxCheckGlyph::LockedButton: DrawLockedButton(Cell); break;
    default: break; // Blank: the native tree takes state image 0 as none
    }
}

} // namespace

static_assert(CheckGlyphCount == lxCheckGlyph::LockedButton + 1, "one cell per glyph");

QImage DrawCheckGlyphStrip(const QColor& Shadow, const QColor& Face)
{
    QImage strip(CheckGlyphSize * CheckGlyphCount, CheckGlyphSize, QImage::Format_RGB32);
    strip.fill(CheckGlyphBackground());
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int index = 0; index < CheckGlyphCount; ++index) {
        TGlyphCell cell(painter, index, Shadow, Face);
        DrawGlyph(cell, index);
    }
    return strip;
}
