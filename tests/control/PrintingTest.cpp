// Printing the tree: the picture composed from the control's screenfuls, its placement
// on a printed PDF page, and what bad input does.
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include "TreeFixture.h"
#include "platform/framework/Printers.h"
#include "platform/win/WinApi.h"

namespace {

class Printing : public TreeFixture {
protected:
    void SetUp() override
    {
        TreeFixture::SetUp();
        tree->SetAlign(alNone);
        tree->SetItemHeight(16);
        tree->SetColor(RGB(255, 255, 200)); // the picture's edge shows on white paper
        // A client area exactly 250 by 400 pixels.
        tree->SetBounds(0, 0, 250, 400);
        tree->SetBounds(0, 0, 500 - tree->ClientWidth(), 800 - tree->ClientHeight());
        QApplication::processEvents();
        ASSERT_TRUE(dir.isValid());
        pdf.SetOutputFileName(Path("tree.pdf"));
        pdf.SetResolution(600);
        previous = SetPrinter(&pdf);
    }
    void TearDown() override
    {
        SetPrinter(nullptr);
        TreeFixture::TearDown();
    }
    std::string Path(const char* name) { return dir.filePath(name).toStdString(); }
    void AddRows(int count)
    {
        for (int i = 0; i < count; ++i)
            Items()->Add(nullptr, "Row " + std::to_string(i) + (i % 7 == 0 ? " with a longer label" : ""));
    }
    QImage Picture()
    {
        TBitmap bitmap;
        bitmap.SetSize(tree->GetCanvasWidth(), tree->GetCanvasHeight());
        tree->DrawTree(bitmap.Canvas());
        return bitmap.ToImage().convertToFormat(QImage::Format_RGB32);
    }
    QImage Screen() { return View()->grab(static_cast<TWindowWidget*>(View())->ClientRect()).toImage().convertToFormat(QImage::Format_RGB32); }
    QImage RenderedPage()
    {
        QProcess render;
        render.start("pdftoppm", {"-r", "600", "-png", "-singlefile", dir.filePath("tree.pdf"), dir.filePath("page")});
        EXPECT_TRUE(render.waitForFinished(60000));
        QImageReader::setAllocationLimit(1024);
        return QImage(dir.filePath("page.png")).convertToFormat(QImage::Format_RGB32);
    }

    QTemporaryDir dir;
    TPrinter pdf;
    TPrinter* previous = nullptr;
};

QRect Ink(const QImage& page)
{
    QRect box;
    for (int y = 0; y < page.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x)
            if ((line[x] & 0xFFFFFF) != 0xFFFFFF)
                box |= QRect(x, y, 1, 1);
    }
    return box;
}

} // namespace

TEST_F(Printing, PictureIsTheClientAreaOrTheWholeScrollableTreeAndTheScrollPositionComesBack)
{
    AddRows(10);
    EXPECT_EQ(tree->GetCanvasWidth(), 250);
    EXPECT_EQ(tree->GetCanvasHeight(), 400);
    EXPECT_EQ(Picture(), Screen()); // a tree that fits: exactly what the control shows

    AddRows(90);
    EXPECT_EQ(tree->GetCanvasHeight(), 1600);
    int pageDowns = 0;
    const WNDPROC original = GetWindowProc(tree->Handle());
    SetWindowProc(tree->Handle(), [&](HWND h, UINT msg, WPARAM w, LPARAM l) {
        pageDowns += msg == WM_VSCROLL && LOWORD(w) == SB_PAGEDOWN;
        return CallWindowProcA(original, h, msg, w, l);
    });
    tree->SetTopItem(Items()->Item(37));
    const QImage before = Screen();
    const QImage picture = Picture();
    SetWindowProc(tree->Handle(), original);
    EXPECT_EQ(pageDowns, 5); // four screenfuls and one pass more
    EXPECT_EQ(tree->TopItem(), Items()->Item(37));
    EXPECT_EQ(Screen(), before);
    // Every row of the picture is the row as the control paints it.
    for (int row : {0, 24, 25, 37, 99}) {
        tree->SetTopItem(Items()->Item(row));
        const int shownAt = (row - tree->TopItem()->AbsoluteIndex()) * 16;
        EXPECT_EQ(picture.copy(0, row * 16, picture.width(), 16), Screen().copy(0, shownAt, picture.width(), 16)) << "row " << row;
    }
}

TEST_F(Printing, RowHeightFollowsTheFirstNodesMultiHeight)
{
    AddRows(100);
    Items()->GetFirstNode()->SetMultiHeight(2);
    const SCROLLINFO vertical = ScrollBarInfo(tree->Handle(), SB_VERT);
    EXPECT_EQ(tree->GetCanvasHeight(), (vertical.nMax + 1) * 8);
}

TEST_F(Printing, PdfPageHoldsThePictureAtItsPlaceInMillimetresWithTheTreesRows)
{
    AddRows(100);
    tree->Print(10, 10, 40, "Printed tree");
    const QImage page = RenderedPage();
    ASSERT_FALSE(page.isNull());
    const QRect ink = Ink(page);
    // 600 dots per inch: 10 mm are 236 dots, 40 mm 945, and the height keeps the proportions.
    const QImage picture = Picture();
    ASSERT_EQ(picture.height(), 1600);
    const double scale = 945.0 / picture.width();
    EXPECT_NEAR(ink.left(), 236, 1);
    EXPECT_NEAR(ink.top(), 236, 1);
    EXPECT_NEAR(ink.width(), 945, 1);
    EXPECT_NEAR(ink.height(), qRound(1600 * scale), 1);
    // Each pixel of the picture, sampled at its centre on the page.
    int differing = 0, sampled = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); x += 3, ++sampled)
            differing += page.pixel(236 + int((x + 0.5) * scale), 236 + int((y + 0.5) * scale)) != picture.pixel(x, y);
    EXPECT_LT(differing, sampled / 100); // under 1%: where a sample falls on a pixel's edge
    QProcess info;
    info.start("pdfinfo", {dir.filePath("tree.pdf")});
    info.waitForFinished(30000);
    EXPECT_TRUE(info.readAllStandardOutput().contains("Printed tree"));
}

TEST_F(Printing, BadInputPrintsNothingAndKeepsTheControlAsItWas)
{
    tree->Print(10, 10, 100, "Empty");
    EXPECT_FALSE(QFile::exists(dir.filePath("tree.pdf")));
    EXPECT_FALSE(pdf.Printing());

    AddRows(100);
    tree->SetTopItem(Items()->Item(50));
    EXPECT_THROW(tree->Print(10, 10, 0, "No width"), EPrinter);
    EXPECT_THROW(tree->Print(-1, 10, 100, "Off the left"), EPrinter);
    EXPECT_THROW(tree->Print(150, 10, 100, "Off the right"), EPrinter);
    EXPECT_THROW(tree->Print(10, 400, 100, "Below the page"), EPrinter);
    EXPECT_FALSE(QFile::exists(dir.filePath("tree.pdf")));

    // A file that cannot be written fails the job after the picture was made.
    pdf.SetOutputFileName(Path("missing-folder/tree.pdf"));
    EXPECT_THROW(tree->Print(10, 10, 100, "Nowhere"), EPrinter);
    EXPECT_TRUE(pdf.Aborted());
    EXPECT_FALSE(pdf.Printing());
    EXPECT_EQ(tree->TopItem(), Items()->Item(50));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);

    // A paint handler that raises on the way through the tree fails the job the same way.
    pdf.SetOutputFileName(Path("tree.pdf"));
    tree->OnCustomDrawItem = [&](TObject*, TlxTreeViewNode* node, const RECT&, TNodeStates) {
        if (node->AbsoluteIndex() == 80)
            throw EInvalidOperation("cannot draw row 80");
    };
    EXPECT_THROW(tree->Print(10, 10, 100, "Failing paint"), EInvalidOperation);
    EXPECT_TRUE(pdf.Aborted());
    EXPECT_EQ(tree->TopItem(), Items()->Item(50));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
}

TEST_F(Printing, ThumbPositionComesInTheHighWordAndAnUnneededBarHasNoPage)
{
    AddRows(10);
    EXPECT_EQ(ScrollBarInfo(tree->Handle(), SB_VERT).nPage, 0u);
    EXPECT_EQ(ScrollBarInfo(tree->Handle(), SB_HORZ).nPage, 0u);
    AddRows(90);
    tree->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 42));
    EXPECT_EQ(tree->TopItem(), Items()->Item(42));
    EXPECT_EQ(ScrollBarInfo(tree->Handle(), SB_VERT).nPage, 25u);
}
