// Printing: the tree's picture is made of the control's own screenfuls, copied while
// the control scrolls through its whole area, and then stretched onto the printer's
// page as rows of a device-independent bitmap.
#include <cmath>
#include <exception>
#include <limits>
#include <vector>

#include "control/lxTreeViewControl.h"
#include "platform/framework/ControlCanvas.h"
#include "platform/framework/Printers.h"
#include "platform/win/Dib.h"
#include "platform/win/Gdi.h"

namespace {

constexpr int kWidestPicture = std::numeric_limits<WORD>::max(); // the description's width is 16 bits

// The number of screenfuls that cover Total: the truncated quotient, one more for a remainder.
int Screenfuls(int Total, int Screen)
{
    if (Screen <= 0)
        return 0;
    return Total / Screen + (Total % Screen > 0 ? 1 : 0);
}

// The source rows [First, End) of a picture Height rows high, drawn Y .. Y + PrintedHeight
// on a device DeviceHeight pixels high, that land on the device.
struct TRowBand {
    int First, End;
};

TRowBand RowsOnDevice(int Height, int Y, int PrintedHeight, int DeviceHeight)
{
    const double rowsPerPixel = double(Height) / PrintedHeight;
    const int first = std::clamp(int(std::floor(-Y * rowsPerPixel)), 0, Height);
    const int end = std::clamp(int(std::ceil((DeviceHeight - Y) * rowsPerPixel)), first, Height);
    return TRowBand{first, end};
}

// Draws the bitmap stretched into (X, Y, Width, Height) of the context. Only the rows
// that land on the context's device are read out of the bitmap, so a picture far longer
// than the page costs one page of rows. The bitmap lends its pixels to a bitmap handle
// for the call. No device here has a palette (GetDeviceCaps never reports RC_PALETTE), so
// the rows are always 24-bit true colour without a colour table.
void PrintBitmap(HDC Dc, int X, int Y, int Width, int Height, TBitmap* Bitmap)
{
    const WORD bitmapWidth = WORD(Bitmap->Width());
    const int bitmapHeight = Bitmap->Height();
    const TRowBand band = RowsOnDevice(bitmapHeight, Y, Height, GetDeviceCaps(Dc, VERTRES));
    if (band.End <= band.First)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biWidth = bitmapWidth;
    info.bmiHeader.biHeight = bitmapHeight;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const int lines = band.End - band.First;
    HBITMAP handle = Bitmap->ReleaseHandle();
    try {
        HDC screen = GetDC(nullptr);
        GetDIBits(screen, handle, 0, bitmapHeight, nullptr, &info, DIB_RGB_COLORS);
        std::vector<BYTE> rows(std::size_t(DibStride(bitmapWidth, 24)) * lines);
        // Scan lines count from the bottom of the picture.
        GetDIBits(screen, handle, UINT(bitmapHeight - band.End), UINT(lines), rows.data(), &info, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        info.bmiHeader.biHeight = lines;
        info.bmiHeader.biSizeImage = DWORD(rows.size());
        const auto edge = [&](int row) { return Y + int(std::lround(double(row) * Height / bitmapHeight)); };
        StretchDIBits(Dc, X, edge(band.First), Width, edge(band.End) - edge(band.First), 0, 0, bitmapWidth, lines,
                      rows.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    } catch (...) {
        Bitmap->SetHandle(handle);
        throw;
    }
    Bitmap->SetHandle(handle);
}

// While the picture is composed, an exception raised by a handler of the window's paint
// (custom draw) fails the picture instead of going to the application's handler.
class TPaintFailures {
public:
    TPaintFailures()
        : FPrevious(SetApplicationExceptionHandler([this](std::exception_ptr e) {
              if (!FFirst)
                  FFirst = e;
          }))
    {
    }
    ~TPaintFailures() { SetApplicationExceptionHandler(std::move(FPrevious)); }
    void RethrowFirst() const
    {
        if (FFirst)
            std::rethrow_exception(FFirst);
    }

private:
    TExceptionHandler FPrevious;
    std::exception_ptr FFirst;
};

double MillimetresOf(int Pixels, int DotsPerInch) { return Pixels * 25.4 / DotsPerInch; }

void CheckPlacement(TPrinter* Printer, int Left, int Top, int Width)
{
    const double pageWidth = MillimetresOf(Printer->PageWidth(), Printer->Resolution());
    const double pageHeight = MillimetresOf(Printer->PageHeight(), Printer->Resolution());
    if (Width <= 0)
        throw EPrinter(Format("Cannot print the tree %d mm wide: the width must be above 0", Width));
    if (Left < 0 || Top < 0 || Left + Width > pageWidth || Top >= pageHeight)
        throw EPrinter(Format("The tree's picture at %d, %d mm and %d mm wide does not fit the page of %d x %d mm",
                              Left, Top, Width, int(pageWidth), int(pageHeight)));
}

} // namespace

int TCustomlxTreeView::PrintRowHeight()
{
    const int height = ItemHeight();
    TlxTreeViewNode* first = FItems->GetFirstNode();
    if (height == 0) {
        const RECT r = first->DisplayRect(false);
        return r.bottom - r.top;
    }
    return first->MultiHeight() > 0 ? height / first->MultiHeight() : height;
}

int TCustomlxTreeView::GetCanvasWidth()
{
    const SCROLLINFO info = ScrollBarInfo(Handle(), SB_HORZ);
    return info.nPage != 0 ? info.nMax + 1 : ClientWidth();
}

int TCustomlxTreeView::GetCanvasHeight()
{
    const SCROLLINFO info = ScrollBarInfo(Handle(), SB_VERT);
    return info.nPage != 0 ? (info.nMax + 1) * PrintRowHeight() : ClientHeight();
}

void TCustomlxTreeView::CopyScreenfulsOfRow(TCanvas* Canvas, TCanvas* Window, int Y, int TotalWidth)
{
    const int width = ClientWidth(), height = ClientHeight();
    SendMessageA(Handle(), WM_HSCROLL, SB_LEFT, 0);
    const int steps = Screenfuls(TotalWidth, width);
    for (int step = 0; step <= steps; ++step) {
        const int x = ScrollBarInfo(Handle(), SB_HORZ).nPos;
        Canvas->CopyRect(RECT{x, Y, x + width, Y + height}, Window, RECT{0, 0, width, height});
        SendMessageA(Handle(), WM_HSCROLL, SB_PAGERIGHT, 0);
    }
}

void TCustomlxTreeView::DrawTree(TCanvas* Canvas)
{
    if (!FItems->GetFirstNode())
        return;
    const int rowHeight = PrintRowHeight();
    const SCROLLINFO horizontal = ScrollBarInfo(Handle(), SB_HORZ);
    const int totalWidth = horizontal.nPage != 0 ? horizontal.nMax : ClientWidth();
    const SCROLLINFO vertical = ScrollBarInfo(Handle(), SB_VERT);
    const int totalHeight = GetCanvasHeight();
    const auto restore = [&] {
        SendMessageA(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, horizontal.nPos), 0);
        SendMessageA(Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, vertical.nPos), 0);
    };
    TControlCanvas window;
    window.SetControl(this);
    TPaintFailures failures;
    try {
        SendMessageA(Handle(), WM_VSCROLL, SB_TOP, 0);
        const int steps = Screenfuls(totalHeight, ClientHeight());
        for (int step = 0; step <= steps; ++step) {
            const SCROLLINFO info = ScrollBarInfo(Handle(), SB_VERT);
            CopyScreenfulsOfRow(Canvas, &window, info.nPage != 0 ? info.nPos * rowHeight : 0, totalWidth);
            SendMessageA(Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
            failures.RethrowFirst();
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TCustomlxTreeView::Print(int Left, int Top, int Width, const std::string& Title)
{
    if (!FItems->GetFirstNode())
        return;
    TPrinter* printer = Printer();
    CheckPlacement(printer, Left, Top, Width);
    const int pictureWidth = GetCanvasWidth();
    if (pictureWidth > kWidestPicture)
        throw EPrinter(Format("The tree is too wide to print: %d pixels, at most %d", pictureWidth, kWidestPicture));
    TBitmap bitmap;
    printer->SetTitle(Title);
    printer->BeginDoc();
    try {
        bitmap.SetPixelFormat(pf24bit);
        bitmap.SetWidth(pictureWidth);
        bitmap.SetHeight(GetCanvasHeight());
        DrawTree(bitmap.Canvas());
        HDC dc = printer->Canvas()->Handle();
        const float xScale = float(GetDeviceCaps(dc, LOGPIXELSX)) / 25.4f;
        const float yScale = float(GetDeviceCaps(dc, LOGPIXELSY)) / 25.4f;
        const int printedWidth = int(std::lround(Width * xScale));
        const int printedHeight =
            int(std::lround(bitmap.Height() * yScale * float(printedWidth) / float(bitmap.Width()) / xScale));
        PrintBitmap(dc, int(std::lround(Left * xScale)), int(std::lround(Top * yScale)), printedWidth, printedHeight,
                    &bitmap);
        printer->EndDoc();
    } catch (...) {
        printer->Abort();
        throw;
    }
}
