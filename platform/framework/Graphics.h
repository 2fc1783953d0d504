#pragma once
// Colours, fonts, pens, brushes, canvases and bitmaps of the host framework layer.
// The header stays free of Qt includes so that the model can use fonts and colours
// without seeing Qt; the conversions to Qt types are declared with forward types.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/framework/Classes.h"
#include "platform/win/WinTypes.h"

class QColor;
class QFont;
class QImage;
class QPainter;
class TBitmap;

// ---------------------------------------------------------------------------
// Colours: 0x00BBGGRR, or a system colour 0xFF0000nn naming COLOR_nn (negative as int32).

using TColor = std::int32_t;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0xFF000000u | unsigned(index)); }

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clLtGray = 0xC0C0C0,
                 clDkGray = 0x808080, clWhite = 0xFFFFFF, clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6,
                 clCream = 0xF0FBFF, clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clScrollBar = SystemColor(0), clBackground = SystemColor(1),
                 clActiveCaption = SystemColor(2), clInactiveCaption = SystemColor(3), clMenu = SystemColor(4),
                 clWindow = SystemColor(5), clWindowFrame = SystemColor(6), clMenuText = SystemColor(7),
                 clWindowText = SystemColor(8), clCaptionText = SystemColor(9),
                 clActiveBorder = SystemColor(10), clInactiveBorder = SystemColor(11),
                 clAppWorkSpace = SystemColor(12), clHighlight = SystemColor(13),
                 clHighlightText = SystemColor(14), clBtnFace = SystemColor(15), clBtnShadow = SystemColor(16),
                 clGrayText = SystemColor(17), clBtnText = SystemColor(18),
                 clInactiveCaptionText = SystemColor(19), clBtnHighlight = SystemColor(20),
                 cl3DDkShadow = SystemColor(21), cl3DLight = SystemColor(22), clInfoText = SystemColor(23),
                 clInfoBk = SystemColor(24), clHotLight = SystemColor(26),
                 clGradientActiveCaption = SystemColor(27), clGradientInactiveCaption = SystemColor(28),
                 clMenuHighlight = SystemColor(29), clMenuBar = SystemColor(30);

// A system colour becomes the current RGB value of that colour; other values pass unchanged.
COLORREF ColorToRGB(TColor Color);
// clNone is transparent; clDefault gives an invalid QColor (the caller's default applies).
QColor TColorToQColor(TColor Color);
TColor QColorToTColor(const QColor& Color);

// ---------------------------------------------------------------------------

class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    virtual void Changed();
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = std::uint8_t;

// Size is in points and Height in pixels at 96 dots per inch: a negative Height is the
// character height without internal leading, Height = -MulDiv(Size, 96, 72).
// Every setter and Assign fire OnChange once (Color only when it changes).
class TFont : public TGraphicsObject {
public:
    static const char* const DefaultName; // "DejaVu Sans"
    static constexpr int PixelsPerInch = 96;

    TFont();
    ~TFont() override;
    void Assign(TPersistent* Source) override;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value);
    int Size() const;
    void SetSize(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset Value);

    // The font handle, made on first use and remade after a change.
    HFONT Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    // Takes face, height and style from the font behind the handle (which stays the caller's).
    void SetHandle(HFONT Value);

    QFont ToQFont() const;
    // Takes face, pixel height, style and pitch from a Qt font; fires OnChange once.
    void AssignQFont(const QFont& Font);

protected:
    void Changed() override;

private:
    void FreeHandle();
    std::string FName;
    int FHeight;
    TColor FColor = clWindowText;
    TFontStyles FStyle;
    TFontPitch FPitch = fpDefault;
    TFontCharset FCharset = 1; // the default character set
    HFONT FHandle = nullptr;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// Raster operations of the pen; pmCopy, pmNot, pmXor and pmNotXor are drawn as such,
// the others as pmCopy.
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
    pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TGraphicsObject {
public:
    void Assign(TPersistent* Source) override;
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode Value);

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
public:
    void Assign(TPersistent* Source) override;
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

// ---------------------------------------------------------------------------
// A canvas draws with its font, pen and brush on the QPainter of a device context.
// The context is given (SetHandle) or made on demand by a derived canvas (CreateHandle).

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    HDC Handle();          // makes the context when the canvas can (CreateHandle)
    void SetHandle(HDC Value); // the context stays its maker's
    bool HandleAllocated() const { return FHandle != nullptr; }
    QPainter* Painter();   // the context's painter, or null

    TFont* Font() { return &FFont; }
    void SetFont(TFont* Value) { FFont.Assign(Value); }
    TPen* Pen() { return &FPen; }
    void SetPen(TPen* Value) { FPen.Assign(Value); }
    TBrush* Brush() { return &FBrush; }
    void SetBrush(TBrush* Value) { FBrush.Assign(Value); }
    POINT PenPos() const { return FPenPos; }
    void SetPenPos(POINT Value) { FPenPos = Value; }

    void MoveTo(int X, int Y);
    void LineTo(int X, int Y); // the end point itself is not drawn
    void FillRect(const RECT& Rect);
    void FrameRect(const RECT& Rect);
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const RECT& Rect) { Rectangle(Rect.left, Rect.top, Rect.right, Rect.bottom); }
    void Ellipse(int X1, int Y1, int X2, int Y2);
    // (X, Y) is the top left of the text; an opaque brush fills the text's cell first.
    void TextOut(int X, int Y, const std::string& Text);
    void TextRect(const RECT& Rect, int X, int Y, const std::string& Text);
    int TextWidth(const std::string& Text);
    int TextHeight(const std::string& Text);
    SIZE TextExtent(const std::string& Text);
    void Draw(int X, int Y, TBitmap* Graphic);
    void StretchDraw(const RECT& Rect, TBitmap* Graphic);
    void CopyRect(const RECT& Dest, TCanvas* Canvas, const RECT& Source);
    // A dotted frame inverted onto the surface: drawing it twice restores the pixels.
    void DrawFocusRect(const RECT& Rect);
    // Reads clNone where the surface cannot be read.
    TColor Pixels(int X, int Y);
    void SetPixels(int X, int Y, TColor Value);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void CreateHandle() {}
    // Copy of the surface's pixels in the area (logical coordinates), null image if unreadable.
    virtual QImage SurfaceImage(const RECT& Rect);
    void Changing();
    void Changed();

private:
    QPainter& RequirePainter();
    void ApplyPen(QPainter& p);
    void ApplyBrush(QPainter& p);
    void ApplyFont(QPainter& p);

    HDC FHandle = nullptr;
    TFont FFont;
    TPen FPen;
    TBrush FBrush;
    POINT FPenPos;
};

// ---------------------------------------------------------------------------

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

class TBitmapCanvas;

class TBitmap : public TPersistent {
public:
    TBitmap();
    ~TBitmap() override;
    void Assign(TPersistent* Source) override;

    int Width() const;
    int Height() const;
    void SetWidth(int Value);
    void SetHeight(int Value);
    // New pixels are white; existing pixels keep their place.
    void SetSize(int AWidth, int AHeight);
    bool Empty() const;

    TCanvas* Canvas();
    // pf24bit keeps three bytes a pixel; every other format four.
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat Value);
    // Hands the pixels over to a bitmap handle (the caller's to delete) and leaves the
    // bitmap empty; SetHandle takes a handle's pixels back, and the handle goes.
    HBITMAP ReleaseHandle();
    void SetHandle(HBITMAP Value);
    // Transparent bitmaps draw without the pixels of TransparentColor (clDefault: the
    // colour of the bottom-left pixel).
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    TColor TransparentColor() const;
    void SetTransparentColor(TColor Value);

    // Raise EFOpenError for a missing file and EInvalidGraphic for unreadable contents.
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName);
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream); // BMP
    // Loads the Qt resource ":/Name.bmp" or ":/Name.png"; EResNotFound when neither exists.
    void LoadFromResourceName(HINSTANCE Instance, const std::string& ResName);
    void LoadFromResourceName(const std::string& ResName) { LoadFromResourceName(nullptr, ResName); }

    QImage ToImage() const;
    void SetImage(const QImage& Image);
    // The image as drawn: with TransparentColor made transparent when Transparent is on.
    QImage DrawingImage() const;

    TNotifyEvent OnChange;

private:
    friend class TBitmapCanvas;
    void ReleaseCanvas() const;
    void Changed();
    int ImageFormat() const; // the QImage format that the pixel format asks for
    std::unique_ptr<QImage> FImage;
    std::unique_ptr<TBitmapCanvas> FCanvas;
    // The size asked for: a bitmap 0 pixels high keeps its width for a later SetHeight.
    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FPixelFormat = pfDevice;
    bool FTransparent = false;
    TColor FTransparentColor = clDefault;
};

LX_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
