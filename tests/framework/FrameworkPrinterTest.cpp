// The printer's document states, its capabilities and files, and the DIB rows that
// pictures reach it through.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include "platform/framework/Printers.h"
#include "platform/win/Dib.h"
#include "platform/win/Gdi.h"

TEST(FrameworkPrinter, DocumentsEndInACompleteFileOrInNoFileAtAll)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("out.pdf");
    TPrinter printer;
    printer.SetOutputFileName(file.toStdString());
    printer.SetResolution(300);
    EXPECT_THROW(printer.EndDoc(), EPrinter);
    EXPECT_THROW(printer.Canvas()->FillRect(RECT{0, 0, 10, 10}), EInvalidOperation);

    printer.SetTitle("Report");
    printer.BeginDoc();
    EXPECT_TRUE(printer.Printing());
    EXPECT_THROW(printer.SetTitle("Other"), EPrinter);
    EXPECT_THROW(printer.BeginDoc(), EPrinter);
    HDC dc = printer.Canvas()->Handle();
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 300);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), printer.PageWidth());
    EXPECT_EQ(GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE, 0);
    EXPECT_NEAR(printer.PageWidth(), 2480, 1); // A4 at 300 dots per inch, no margins in a file
    printer.Canvas()->FillRect(RECT{0, 0, 100, 100});
    // While the document is open, nothing looks like a finished file.
    EXPECT_FALSE(QFile::exists(file));
    printer.Abort();
    EXPECT_TRUE(printer.Aborted());
    EXPECT_FALSE(printer.Printing());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());

    printer.BeginDoc();
    EXPECT_FALSE(printer.Aborted());
    printer.Canvas()->FillRect(RECT{0, 0, 100, 100});
    printer.NewPage();
    EXPECT_EQ(printer.PageNumber(), 2);
    printer.EndDoc();
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_TRUE(bytes.contains("/Count 2"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(FrameworkDib, RowsComeBottomUpPaddedAndDrawBackStretched)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, 0x112233);
    image.setPixel(2, 1, 0x445566);
    HBITMAP bitmap = CreateBitmapHandle(image);
    BITMAPINFO info{};
    info.bmiHeader.biWidth = 3;
    info.bmiHeader.biHeight = 2;
    info.bmiHeader.biBitCount = 24;
    ASSERT_NE(GetDIBits(nullptr, bitmap, 0, 2, nullptr, &info, DIB_RGB_COLORS), 0);
    EXPECT_EQ(info.bmiHeader.biSizeImage, 24u); // rows of 9 bytes padded to 12
    std::vector<BYTE> bits(info.bmiHeader.biSizeImage);
    EXPECT_EQ(GetDIBits(nullptr, bitmap, 0, 2, bits.data(), &info, DIB_RGB_COLORS), 2);
    EXPECT_EQ(bits[6], 0x66); // the bottom row comes first, blue green red
    EXPECT_EQ(bits[8], 0x44);
    EXPECT_EQ(bits[12], 0x33);
    EXPECT_EQ(bits[14], 0x11);

    QImage target(6, 4, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    TDeviceContext dc;
    dc.painter = &painter;
    EXPECT_EQ(StretchDIBits(&dc, 0, 0, 6, 4, 0, 0, 3, 2, bits.data(), &info, DIB_RGB_COLORS, SRCCOPY), 2);
    painter.end();
    EXPECT_EQ(target.pixel(1, 1) & 0xFFFFFF, 0x112233u);
    EXPECT_EQ(target.pixel(5, 3) & 0xFFFFFF, 0x445566u);
    EXPECT_EQ(TakeBitmapImage(bitmap).pixel(0, 0) & 0xFFFFFF, 0x112233u);
    EXPECT_EQ(DeleteObject(bitmap), FALSE); // taken: the handle is gone
}
