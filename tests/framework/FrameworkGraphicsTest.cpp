#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "platform/win/Gdi.h"
#include "platform/framework/Graphics.h"

TEST(FrameworkFont, SettersAndAssignFireOnChangeAndRemakeTheHandle)
{
    TFont font;
    EXPECT_EQ(font.Name(), "DejaVu Sans");
    EXPECT_EQ(font.Size(), 8);
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Color(), clWindowText);

    int changes = 0;
    TObject* sender = nullptr;
    font.OnChange = [&](TObject* s) { ++changes; sender = s; };
    font.SetSize(12);
    EXPECT_EQ(font.Height(), -16);
    font.SetHeight(-20);
    EXPECT_EQ(font.Size(), 15);
    font.SetStyle({fsBold, fsUnderline});
    font.SetPitch(fpFixed);
    font.SetName("DejaVu Sans Mono");
    font.SetColor(clRed);
    font.SetColor(clRed); // the same colour again is no change
    EXPECT_EQ(changes, 6);
    EXPECT_EQ(sender, &font);

    const HFONT first = font.Handle();
    EXPECT_EQ(font.Handle(), first);
    QFont q;
    ASSERT_TRUE(FontFromHandle(first, &q));
    EXPECT_TRUE(q.bold());
    EXPECT_EQ(q.pixelSize(), 20);

    TFont other;
    changes = 0;
    font.Assign(&other);
    EXPECT_EQ(changes, 1); // Assign reports once
    EXPECT_EQ(font.Height(), -11);
    EXPECT_TRUE(font.Style().Empty());
    EXPECT_FALSE(font.HandleAllocated()); // the old handle went with the change
    EXPECT_FALSE(FontFromHandle(first, &q));

    const QFont qf = font.ToQFont();
    EXPECT_EQ(qf.family(), QString("DejaVu Sans"));
    EXPECT_EQ(qf.pixelSize(), 11);
}

TEST(FrameworkColor, SystemColoursResolveThroughTheDesktopPalette)
{
    EXPECT_EQ(clWindow, static_cast<TColor>(0xFF000005));
    EXPECT_LT(clHighlight, 0);
    EXPECT_EQ(ColorToRGB(clWindow), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(ColorToRGB(clHighlight), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clRed), RGB(255, 0, 0));
    EXPECT_EQ(ColorToRGB(clNone), COLORREF(clNone));
    EXPECT_EQ(TColorToQColor(clBlue), QColor(0, 0, 255));
    EXPECT_EQ(TColorToQColor(clNone).alpha(), 0);
    EXPECT_FALSE(TColorToQColor(clDefault).isValid());
    EXPECT_EQ(QColorToTColor(QColor(0x12, 0x34, 0x56)), 0x563412);
}

TEST(FrameworkCanvas, BitmapCanvasDrawsAndReadsPixels)
{
    TBitmap bmp;
    bmp.SetSize(40, 20);
    TCanvas* c = bmp.Canvas();
    EXPECT_EQ(c->Pixels(0, 0), clWhite);
    c->Brush()->SetColor(clRed);
    c->FillRect(RECT{0, 0, 10, 10});
    EXPECT_EQ(c->Pixels(9, 9), clRed);
    EXPECT_EQ(c->Pixels(10, 10), clWhite);

    // A focus rectangle drawn twice leaves the surface as it was.
    const QImage before = bmp.ToImage();
    c->DrawFocusRect(RECT{2, 2, 30, 15});
    EXPECT_NE(bmp.ToImage(), before);
    c->DrawFocusRect(RECT{2, 2, 30, 15});
    EXPECT_EQ(bmp.ToImage(), before);

    c->Pen()->SetColor(clBlue);
    c->MoveTo(0, 19);
    c->LineTo(40, 19);
    EXPECT_EQ(c->Pixels(39, 19), clBlue);

    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(clBlack);
    c->TextOut(12, 2, "Wy");
    EXPECT_GT(c->TextWidth("Wy"), 0);
    EXPECT_EQ(c->PenPos().x, 12 + c->TextWidth("Wy"));
    bool inked = false;
    for (int y = 2; y < 2 + c->TextHeight("Wy"); ++y)
        for (int x = 12; x < 12 + c->TextWidth("Wy"); ++x)
            inked = inked || c->Pixels(x, y) != clWhite;
    EXPECT_TRUE(inked);

    // Resizing keeps what was drawn and drops the canvas's context safely.
    bmp.SetSize(50, 30);
    EXPECT_EQ(c->Pixels(5, 5), clRed);
    EXPECT_EQ(c->Pixels(45, 25), clWhite);

    TBitmap copy;
    TCanvas* target = copy.Canvas();
    copy.SetSize(10, 10);
    target->CopyRect(RECT{0, 0, 5, 5}, c, RECT{5, 5, 10, 10});
    EXPECT_EQ(target->Pixels(4, 4), clRed);
    target->Draw(5, 5, &bmp);
    EXPECT_EQ(target->Pixels(9, 9), clRed);
}

TEST(FrameworkBitmap, LoadingReportsMissingFilesAndRoundTripsThroughStreams)
{
    TBitmap bmp;
    try {
        bmp.LoadFromFile("/nonexistent/glyphs.bmp");
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find("/nonexistent/glyphs.bmp"), std::string::npos);
    }
    EXPECT_THROW(bmp.LoadFromResourceName("NO_SUCH_RESOURCE"), EResNotFound);

    bmp.SetSize(3, 2);
    bmp.Canvas()->SetPixels(1, 1, clGreen);
    TMemoryStream m;
    bmp.SaveToStream(&m);
    m.SetPosition(0);
    TBitmap loaded;
    loaded.LoadFromStream(&m);
    EXPECT_EQ(loaded.Width(), 3);
    EXPECT_EQ(loaded.Canvas()->Pixels(1, 1), clGreen);

    TStringStream junk("not an image");
    EXPECT_THROW(loaded.LoadFromStream(&junk), EInvalidGraphic);

    // A transparent bitmap drops its transparent colour (bottom-left pixel by default).
    loaded.SetTransparent(true);
    const QImage drawn = loaded.DrawingImage();
    EXPECT_EQ(qAlpha(drawn.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(drawn.pixel(1, 1)), 255);
}

TEST(FrameworkCanvas, DrawsThroughAGivenDeviceContext)
{
    QImage surface(60, 40, QImage::Format_ARGB32_Premultiplied);
    surface.fill(Qt::white);
    QPainter painter(&surface);
    painter.translate(10, 5); // a window's client origin inside its surface
    TDeviceContext dc;
    dc.painter = &painter;

    TCanvas canvas;
    EXPECT_THROW(canvas.FillRect(RECT{0, 0, 1, 1}), EInvalidOperation); // nothing to draw on
    canvas.SetHandle(&dc);
    canvas.Brush()->SetColor(clYellow);
    canvas.Pen()->SetColor(clNavy);
    canvas.Rectangle(0, 0, 10, 8);
    EXPECT_EQ(canvas.Pixels(0, 0), clNavy);   // the outline
    EXPECT_EQ(canvas.Pixels(9, 7), clNavy);   // the right and bottom edges are inside
    EXPECT_EQ(canvas.Pixels(5, 4), clYellow); // the fill
    EXPECT_EQ(canvas.Pixels(10, 8), clWhite);
    EXPECT_EQ(surface.pixelColor(15, 9), QColor(Qt::yellow)); // logical (5,4) is device (15,9)

    // Text selects the canvas font into the context, as the window's own drawing expects.
    canvas.Font()->SetStyle({fsBold});
    canvas.TextOut(0, 10, "x");
    QFont selected;
    ASSERT_TRUE(FontFromHandle(GetCurrentObjectFont(&dc), &selected));
    EXPECT_TRUE(selected.bold());
    EXPECT_EQ(GetTextColor(&dc), ColorToRGB(clWindowText));
    painter.end();
}

TEST(FrameworkFont, QtFontsAndHandlesConvertBothWays)
{
    TFont font;
    QFont q("DejaVu Sans Mono");
    q.setPixelSize(14);
    q.setItalic(true);
    q.setStrikeOut(true);
    q.setFixedPitch(true);
    int changes = 0;
    font.OnChange = [&](TObject*) { ++changes; };
    font.AssignQFont(q);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(font.Name(), "DejaVu Sans Mono");
    EXPECT_EQ(font.Height(), -14);
    EXPECT_TRUE(font.Style() == (TFontStyles{fsItalic, fsStrikeOut}));
    EXPECT_EQ(font.Pitch(), fpFixed);

    TFont copy;
    copy.SetHandle(font.Handle());
    EXPECT_EQ(copy.Name(), font.Name());
    EXPECT_EQ(copy.Height(), font.Height());
    EXPECT_TRUE(copy.Style() == font.Style());
    EXPECT_NE(copy.Handle(), font.Handle()); // each font owns its own handle
}
