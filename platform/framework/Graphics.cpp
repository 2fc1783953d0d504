#include "platform/framework/Graphics.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/win/Dib.h"
#include "platform/win/Gdi.h"

// ---------------------------------------------------------------------------
// Colours

COLORREF ColorToRGB(TColor Color)
{
    if (Color < 0)
        return GetSysColor(Color & 0xFF);
    return static_cast<COLORREF>(Color);
}

QColor TColorToQColor(TColor Color)
{
    if (Color == clNone)
        return QColor(Qt::transparent);
    if (Color == clDefault)
        return QColor();
    return ColorRefToQColor(ColorToRGB(Color) & 0xFFFFFF);
}

TColor QColorToTColor(const QColor& Color)
{
    if (!Color.isValid())
        return clDefault;
    if (Color.alpha() == 0)
        return clNone;
    return static_cast<TColor>(QColorToColorRef(Color));
}

void TGraphicsObject::Changed()
{
    // Call a copy: the handler may free this object and its OnChange with it.
    if (const TNotifyEvent handler = OnChange)
        handler(this);
}

// ---------------------------------------------------------------------------
// TFont

const char* const TFont::DefaultName = "DejaVu Sans";

TFont::TFont() : FName(DefaultName), FHeight(-MulDiv(8, PixelsPerInch, 72)) {}

TFont::~TFont() { FreeHandle(); }

void TFont::Assign(TPersistent* Source)
{
    if (Source == this)
        return;
    if (auto* source = dynamic_cast<TFont*>(Source)) {
        FName = source->FName;
        FHeight = source->FHeight;
        FColor = source->FColor;
        FStyle = source->FStyle;
        FPitch = source->FPitch;
        FCharset = source->FCharset;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TFont::SetName(const std::string& Value)
{
    if (Value.empty())
        return; // a font always has a face
    FName = Value;
    Changed();
}

int TFont::Size() const
{
    return -MulDiv(FHeight, 72, PixelsPerInch);
}

void TFont::SetSize(int Value)
{
    SetHeight(-MulDiv(Value, PixelsPerInch, 72));
}

void TFont::SetHeight(int Value)
{
    FHeight = Value;
    Changed();
}

void TFont::SetColor(TColor Value)
{
    if (Replace(FColor, Value))
        Changed();
}

void TFont::SetStyle(TFontStyles Value)
{
    FStyle = Value;
    Changed();
}

void TFont::SetPitch(TFontPitch Value)
{
    FPitch = Value;
    Changed();
}

void TFont::SetCharset(TFontCharset Value)
{
    FCharset = Value;
    Changed();
}

HFONT TFont::Handle()
{
    if (!FHandle)
        FHandle = CreateFontHandle(ToQFont());
    return FHandle;
}

void TFont::SetHandle(HFONT Value)
{
    QFont font;
    if (FontFromHandle(Value, &font))
        AssignQFont(font);
}

namespace {

// Faces of the original desktop that layouts name, by the closest faces here: a
// condensed sans-serif keeps the narrow metrics that their captions were sized for.
void SubstituteClassicFaces()
{
    static const bool done = [] {
        QFont::insertSubstitutions("MS Sans Serif", {"DejaVu Sans Condensed", "Liberation Sans", "DejaVu Sans"});
        return true;
    }();
    (void)done;
}

} // namespace

QFont TFont::ToQFont() const
{
    SubstituteClassicFaces();
    QFont font(QString::fromStdString(FName));
    // A positive height means the whole cell in the original sense; the em height is
    // close enough for the few callers that use it.
    font.setPixelSize(std::max(1, std::abs(FHeight)));
    font.setBold(FStyle.Contains(fsBold));
    font.setItalic(FStyle.Contains(fsItalic));
    font.setUnderline(FStyle.Contains(fsUnderline));
    font.setStrikeOut(FStyle.Contains(fsStrikeOut));
    if (FPitch == fpFixed) {
        font.setFixedPitch(true);
        font.setStyleHint(QFont::TypeWriter);
    } else {
        font.setStyleHint(QFont::SansSerif);
    }
    return font;
}

void TFont::AssignQFont(const QFont& Font)
{
    if (!Font.family().isEmpty())
        FName = Font.family().toStdString();
    if (Font.pixelSize() > 0)
        FHeight = -Font.pixelSize();
    else if (Font.pointSizeF() > 0)
        FHeight = -MulDiv(qRound(Font.pointSizeF()), PixelsPerInch, 72);
    TFontStyles style;
    if (Font.bold())
        style.Include(fsBold);
    if (Font.italic())
        style.Include(fsItalic);
    if (Font.underline())
        style.Include(fsUnderline);
    if (Font.strikeOut())
        style.Include(fsStrikeOut);
    FStyle = style;
    FPitch = Font.fixedPitch() ? fpFixed : fpDefault;
    Changed();
}

void TFont::Changed()
{
    FreeHandle();
    TGraphicsObject::Changed();
}

void TFont::FreeHandle()
{
    if (FHandle) {
        DeleteObject(FHandle);
        FHandle = nullptr;
    }
}

// ---------------------------------------------------------------------------
// TPen, TBrush

void TPen::Assign(TPersistent* Source)
{
    if (auto* source = dynamic_cast<TPen*>(Source)) {
        FColor = source->FColor;
        FWidth = source->FWidth;
        FStyle = source->FStyle;
        FMode = source->FMode;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TPen::SetColor(TColor Value)
{
    if (Replace(FColor, Value))
        Changed();
}

void TPen::SetWidth(int Value)
{
    if (Value >= 0 && Replace(FWidth, Value))
        Changed();
}

void TPen::SetStyle(TPenStyle Value)
{
    if (Replace(FStyle, Value))
        Changed();
}

void TPen::SetMode(TPenMode Value)
{
    if (Replace(FMode, Value))
        Changed();
}

void TBrush::Assign(TPersistent* Source)
{
    if (auto* source = dynamic_cast<TBrush*>(Source)) {
        FColor = source->FColor;
        FStyle = source->FStyle;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TBrush::SetColor(TColor Value)
{
    if (FColor != Value) {
        FColor = Value;
        // A colour on a clear brush makes it solid again, as one would expect.
        if (FStyle == bsClear)
            FStyle = bsSolid;
        Changed();
    }
}

void TBrush::SetStyle(TBrushStyle Value)
{
    if (Replace(FStyle, Value))
        Changed();
}

// ---------------------------------------------------------------------------
// TCanvas

namespace {

QRect ToQRect(const RECT& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

QColor OpaqueColor(TColor c) { return ColorRefToQColor(ColorToRGB(c) & 0xFFFFFF); }

Qt::PenStyle QtPenStyle(TPenStyle style)
{
    switch (style) {
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psDashDot: return Qt::DashDotLine;
    case psDashDotDot: return Qt::DashDotDotLine;
    case psClear: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

QPainter::CompositionMode QtPenMode(TPenMode mode)
{
    switch (mode) {
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNot: return QPainter::RasterOp_NotDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

Qt::BrushStyle QtBrushStyle(TBrushStyle style)
{
    switch (style) {
    case bsClear: return Qt::NoBrush;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
    }
}

// The points of a rectangle's outline, each once, walking clockwise from the top left.
std::vector<QPoint> OutlinePoints(const RECT& r)
{
    std::vector<QPoint> pts;
    const int l = r.left, t = r.top, rt = r.right - 1, b = r.bottom - 1;
    if (rt < l || b < t)
        return pts;
    for (int x = l; x <= rt; ++x)
        pts.emplace_back(x, t);
    if (b > t)
        for (int y = t + 1; y <= b; ++y)
            pts.emplace_back(rt, y);
    if (b > t && rt > l)
        for (int x = rt - 1; x >= l; --x)
            pts.emplace_back(x, b);
    if (rt > l)
        for (int y = b - 1; y > t; --y)
            pts.emplace_back(l, y);
    return pts;
}

} // namespace

TCanvas::TCanvas() = default;
TCanvas::~TCanvas() = default;

HDC TCanvas::Handle()
{
    if (!FHandle)
        CreateHandle();
    return FHandle;
}

void TCanvas::SetHandle(HDC Value)
{
    if (FHandle != Value) {
        FHandle = Value;
        FPenPos = POINT{};
    }
}

QPainter* TCanvas::Painter()
{
    HDC dc = Handle();
    return dc ? dc->painter : nullptr;
}

QPainter& TCanvas::RequirePainter()
{
    QPainter* p = Painter();
    if (!p || !p->isActive())
        throw EInvalidOperation("Canvas does not allow drawing");
    return *p;
}

void TCanvas::ApplyPen(QPainter& p)
{
    QPen pen(OpaqueColor(FPen.Color()));
    pen.setStyle(QtPenStyle(FPen.Style()));
    pen.setWidth(FPen.Width() <= 1 ? 0 : FPen.Width()); // 0: the exact one-pixel pen
    p.setPen(pen);
    p.setCompositionMode(QtPenMode(FPen.Mode()));
    p.setRenderHint(QPainter::Antialiasing, false);
}

void TCanvas::ApplyBrush(QPainter& p)
{
    if (FBrush.Style() == bsClear)
        p.setBrush(Qt::NoBrush);
    else
        p.setBrush(QBrush(OpaqueColor(FBrush.Color()), QtBrushStyle(FBrush.Style())));
}

void TCanvas::ApplyFont(QPainter& p)
{
    SelectObject(FHandle, FFont.Handle());
    SetTextColor(FHandle, ColorToRGB(FFont.Color()));
    p.setFont(FFont.ToQFont());
    p.setPen(OpaqueColor(FFont.Color()));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::Changing()
{
    if (OnChanging)
        OnChanging(this);
}

void TCanvas::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TCanvas::MoveTo(int X, int Y)
{
    FPenPos = POINT{X, Y};
}

void TCanvas::LineTo(int X, int Y)
{
    QPainter& p = RequirePainter();
    Changing();
    p.save();
    ApplyPen(p);
    const int dx = X - FPenPos.x, dy = Y - FPenPos.y;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    if (steps > 0) {
        // Stop one pixel short of the end point, which the next line starts on.
        const QPointF end(X - double(dx) / steps, Y - double(dy) / steps);
        p.drawLine(QPointF(FPenPos.x, FPenPos.y), end.toPoint());
    }
    p.restore();
    FPenPos = POINT{X, Y};
    Changed();
}

void TCanvas::FillRect(const RECT& Rect)
{
    QPainter& p = RequirePainter();
    if (FBrush.Style() == bsClear)
        return;
    Changing();
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.fillRect(ToQRect(Rect), QBrush(OpaqueColor(FBrush.Color()), QtBrushStyle(FBrush.Style())));
    p.restore();
    Changed();
}

void TCanvas::FrameRect(const RECT& Rect)
{
    QPainter& p = RequirePainter();
    if (Rect.right <= Rect.left || Rect.bottom <= Rect.top)
        return;
    Changing();
    p.save();
    p.setPen(QPen(OpaqueColor(FBrush.Color()), 0));
    p.setBrush(Qt::NoBrush);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawRect(Rect.left, Rect.top, Rect.right - Rect.left - 1, Rect.bottom - Rect.top - 1);
    p.restore();
    Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    QPainter& p = RequirePainter();
    if (X2 <= X1 || Y2 <= Y1)
        return;
    Changing();
    p.save();
    if (FBrush.Style() != bsClear)
        p.fillRect(QRect(X1, Y1, X2 - X1, Y2 - Y1), QBrush(OpaqueColor(FBrush.Color()), QtBrushStyle(FBrush.Style())));
    if (FPen.Style() != psClear) {
        ApplyPen(p);
        p.setBrush(Qt::NoBrush);
        p.drawRect(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1);
    }
    p.restore();
    Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2)
{
    QPainter& p = RequirePainter();
    Changing();
    p.save();
    ApplyPen(p);
    ApplyBrush(p);
    p.drawEllipse(QRect(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1));
    p.restore();
    Changed();
}

void TCanvas::TextOut(int X, int Y, const std::string& Text)
{
    QPainter& p = RequirePainter();
    Changing();
    const QString text = QString::fromStdString(Text);
    p.save();
    ApplyFont(p);
    const QFontMetrics fm(p.font());
    const int width = fm.horizontalAdvance(text);
    if (FBrush.Style() != bsClear)
        p.fillRect(QRect(X, Y, width, fm.height()), OpaqueColor(FBrush.Color()));
    p.drawText(X, Y + fm.ascent(), text);
    p.restore();
    FPenPos = POINT{X + width, Y};
    Changed();
}

void TCanvas::TextRect(const RECT& Rect, int X, int Y, const std::string& Text)
{
    QPainter& p = RequirePainter();
    Changing();
    const QString text = QString::fromStdString(Text);
    p.save();
    p.setClipRect(ToQRect(Rect), Qt::IntersectClip);
    ApplyFont(p);
    if (FBrush.Style() != bsClear)
        p.fillRect(ToQRect(Rect), OpaqueColor(FBrush.Color()));
    p.drawText(X, Y + QFontMetrics(p.font()).ascent(), text);
    p.restore();
    Changed();
}

SIZE TCanvas::TextExtent(const std::string& Text)
{
    const QFontMetrics fm(FFont.ToQFont());
    return SIZE{fm.horizontalAdvance(QString::fromStdString(Text)), fm.height()};
}

int TCanvas::TextWidth(const std::string& Text) { return TextExtent(Text).cx; }
int TCanvas::TextHeight(const std::string& Text) { return TextExtent(Text).cy; }

void TCanvas::Draw(int X, int Y, TBitmap* Graphic)
{
    if (!Graphic || Graphic->Empty())
        return;
    QPainter& p = RequirePainter();
    Changing();
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawImage(X, Y, Graphic->DrawingImage());
    p.restore();
    Changed();
}

void TCanvas::StretchDraw(const RECT& Rect, TBitmap* Graphic)
{
    if (!Graphic || Graphic->Empty())
        return;
    QPainter& p = RequirePainter();
    Changing();
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawImage(ToQRect(Rect), Graphic->DrawingImage());
    p.restore();
    Changed();
}

void TCanvas::CopyRect(const RECT& Dest, TCanvas* Canvas, const RECT& Source)
{
    if (!Canvas)
        return;
    const QImage source = Canvas->SurfaceImage(Source);
    if (source.isNull())
        return;
    QPainter& p = RequirePainter();
    Changing();
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(ToQRect(Dest), source);
    p.restore();
    Changed();
}

void TCanvas::DrawFocusRect(const RECT& Rect)
{
    QPainter& p = RequirePainter();
    const std::vector<QPoint> outline = OutlinePoints(Rect);
    std::vector<QPoint> dots;
    for (size_t i = 0; i < outline.size(); i += 2)
        dots.push_back(outline[i]);
    if (dots.empty())
        return;
    Changing();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    p.setPen(QPen(Qt::black, 0));
    p.drawPoints(dots.data(), int(dots.size()));
    p.restore();
    Changed();
}

QImage TCanvas::SurfaceImage(const RECT& Rect) { return SurfacePixels(Handle(), Rect); }

TColor TCanvas::Pixels(int X, int Y)
{
    const QImage pixel = SurfaceImage(RECT{X, Y, X + 1, Y + 1});
    if (pixel.isNull() || pixel.width() < 1 || pixel.height() < 1)
        return clNone;
    return static_cast<TColor>(QColorToColorRef(pixel.pixelColor(0, 0)));
}

void TCanvas::SetPixels(int X, int Y, TColor Value)
{
    QPainter& p = RequirePainter();
    Changing();
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(QRect(X, Y, 1, 1), OpaqueColor(Value));
    p.restore();
    Changed();
}

// ---------------------------------------------------------------------------
// TBitmap and its canvas

// The canvas of a bitmap paints on the bitmap's image through a device context of its
// own, opened on first use and closed whenever the bitmap replaces its image.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* Bitmap) : FBitmap(Bitmap)
    {
        OnChange = [this](TObject*) { FBitmap->Changed(); };
    }
    ~TBitmapCanvas() override { FreeContext(); }

    void FreeContext()
    {
        if (!HandleAllocated())
            return;
        SetHandle(nullptr);
        FContext.painter = nullptr;
        FPainter.end();
    }

protected:
    void CreateHandle() override
    {
        QImage& image = *FBitmap->FImage;
        if (image.isNull() || !FPainter.begin(&image))
            return;
        FContext = TDeviceContext{};
        FContext.painter = &FPainter;
        SetHandle(&FContext);
    }

    QImage SurfaceImage(const RECT& Rect) override
    {
        return FBitmap->FImage->copy(QRect(Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top));
    }

private:
    TBitmap* FBitmap;
    QPainter FPainter;
    TDeviceContext FContext;
};

namespace {
constexpr QImage::Format BitmapFormat = QImage::Format_ARGB32_Premultiplied;

QImage ReadImageFile(const QString& path)
{
    QImage image;
    if (!image.load(path))
        return QImage();
    return image.convertToFormat(BitmapFormat);
}
} // namespace

TBitmap::TBitmap() : FImage(std::make_unique<QImage>()) {}

TBitmap::~TBitmap() { ReleaseCanvas(); }

void TBitmap::Assign(TPersistent* Source)
{
    if (!Source) {
        SetImage(QImage()); // assigning nothing empties the bitmap
        return;
    }
    auto* source = dynamic_cast<TBitmap*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this)
        return;
    FPixelFormat = source->FPixelFormat;
    FTransparent = source->FTransparent;
    FTransparentColor = source->FTransparentColor;
    SetImage(source->ToImage());
}

int TBitmap::Width() const { return FWidth; }
int TBitmap::Height() const { return FHeight; }
bool TBitmap::Empty() const { return FImage->isNull() || FImage->width() == 0 || FImage->height() == 0; }
void TBitmap::SetWidth(int Value) { SetSize(Value, Height()); }
void TBitmap::SetHeight(int Value) { SetSize(Width(), Value); }

void TBitmap::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(0, AWidth);
    AHeight = std::max(0, AHeight);
    if (AWidth == Width() && AHeight == Height())
        return;
    ReleaseCanvas();
    QImage resized;
    if (AWidth > 0 && AHeight > 0) {
        resized = QImage(AWidth, AHeight, QImage::Format(ImageFormat()));
        if (resized.isNull())
            throw EOutOfResources(Format("Not enough memory for a bitmap of %d x %d pixels", AWidth, AHeight));
        resized.fill(Qt::white);
        if (!FImage->isNull()) {
            QPainter p(&resized);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, *FImage);
        }
    }
    *FImage = resized;
    FWidth = AWidth;
    FHeight = AHeight;
    Changed();
}

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas)
        FCanvas = std::make_unique<TBitmapCanvas>(this);
    return FCanvas.get();
}

int TBitmap::ImageFormat() const { return FPixelFormat == pf24bit ? QImage::Format_RGB888 : BitmapFormat; }

void TBitmap::SetPixelFormat(TPixelFormat Value)
{
    if (FPixelFormat == Value)
        return;
    FPixelFormat = Value;
    if (!FImage->isNull() && FImage->format() != ImageFormat()) {
        ReleaseCanvas();
        *FImage = FImage->convertToFormat(QImage::Format(ImageFormat()));
    }
    Changed();
}

HBITMAP TBitmap::ReleaseHandle()
{
    ReleaseCanvas();
    HBITMAP handle = CreateBitmapHandle(std::move(*FImage));
    *FImage = QImage();
    FWidth = FHeight = 0;
    return handle;
}

void TBitmap::SetHandle(HBITMAP Value) { SetImage(TakeBitmapImage(Value)); }

void TBitmap::SetTransparent(bool Value)
{
    if (Replace(FTransparent, Value))
        Changed();
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentColor != clDefault)
        return FTransparentColor;
    if (Empty())
        return clDefault;
    return static_cast<TColor>(QColorToColorRef(FImage->pixelColor(0, FImage->height() - 1)));
}

void TBitmap::SetTransparentColor(TColor Value)
{
    if (Replace(FTransparentColor, Value))
        Changed();
}

void TBitmap::LoadFromFile(const std::string& FileName)
{
    const QString path = QString::fromStdString(FileName);
    if (!QFileInfo::exists(path))
        throw EFOpenError(Format(SFOpenError, FileName, "No such file or directory"));
    const QImage image = ReadImageFile(path);
    if (image.isNull())
        throw EInvalidGraphic(Format("Bitmap image is not valid: \"%s\"", FileName));
    SetImage(image);
}

void TBitmap::SaveToFile(const std::string& FileName)
{
    TFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}

void TBitmap::LoadFromStream(TStream* Stream)
{
    const std::int64_t count = Stream->Size() - Stream->Position();
    QByteArray bytes(int(std::max<std::int64_t>(count, 0)), '\0');
    if (count > 0)
        Stream->ReadBuffer(bytes.data(), count);
    QImage image;
    if (!image.loadFromData(bytes))
        throw EInvalidGraphic("Bitmap image is not valid");
    SetImage(image.convertToFormat(BitmapFormat));
}

void TBitmap::SaveToStream(TStream* Stream)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ToImage().convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP");
    Stream->WriteBuffer(bytes.constData(), bytes.size());
}

void TBitmap::LoadFromResourceName(HINSTANCE, const std::string& ResName)
{
    const QString name = QString::fromStdString(ResName);
    for (const QString& path : {":/" + name + ".bmp", ":/" + name + ".png", ":/" + name}) {
        if (!QFile::exists(path))
            continue;
        const QImage image = ReadImageFile(path);
        if (!image.isNull()) {
            SetImage(image);
            return;
        }
    }
    throw EResNotFound(Format(SResNotFound, ResName));
}

QImage TBitmap::ToImage() const
{
    // A deep copy: the canvas may keep painting on the bitmap's own image.
    return FImage->copy();
}

void TBitmap::SetImage(const QImage& Image)
{
    ReleaseCanvas();
    *FImage = Image.isNull() ? QImage() : Image.convertToFormat(QImage::Format(ImageFormat()));
    FWidth = FImage->width();
    FHeight = FImage->height();
    Changed();
}

QImage TBitmap::DrawingImage() const
{
    QImage image = FImage->copy();
    if (!FTransparent || image.isNull())
        return image;
    const QRgb key = ColorRefToQColor(ColorToRGB(TransparentColor()) & 0xFFFFFF).rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] | 0xFF000000u) == key && qAlpha(line[x]) == 255)
                line[x] = 0;
    }
    return image;
}

void TBitmap::ReleaseCanvas() const
{
    if (FCanvas)
        FCanvas->FreeContext();
}

void TBitmap::Changed()
{
    if (OnChange)
        OnChange(this);
}
