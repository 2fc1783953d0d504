// The demo's printing: the system's print dialog, a print preview and a PDF export,
// each printing the tree 10 mm from the page's corner and 100 mm wide (narrower when the
// page is).
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <algorithm>

#include "control/lxTreeViewControl.h"
#include "demo/DemoWindow.h"
#include "platform/framework/Printers.h"

namespace {

constexpr int kMargin = 10;       // millimetres
constexpr int kPictureWidth = 100; // millimetres

int PictureWidthFor(TPrinter* printer)
{
    const int pageWidth = int(printer->PageWidth() * 25.4 / printer->Resolution());
    return std::min(kPictureWidth, pageWidth - 2 * kMargin);
}

// Prints the tree on a printer of Qt's dialogs, through the framework's printer.
void PrintOn(TlxTreeView* tree, QPrinter* target)
{
    TPrinter printer(target);
    TPrinter* previous = SetPrinter(&printer);
    try {
        tree->Print(kMargin, kMargin, PictureWidthFor(&printer), "lxTreeView demo");
    } catch (...) {
        SetPrinter(previous);
        throw;
    }
    SetPrinter(previous);
}

} // namespace

void TDemoWindow::BuildPrintMenu(QMenu* file)
{
    file->addAction("&Print...", QKeySequence::Print, this, [this] { PrintWithDialog(); });
    file->addAction("Print pre&view...", this, [this] { PreviewPrint(); });
    file->addAction("&Export PDF...", this, [this] { ExportPdf(); });
}

void TDemoWindow::PrintWithDialog()
{
    QPrintDialog dialog(Printer()->QtPrinter(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    try {
        PrintOn(FTree.get(), Printer()->QtPrinter());
    } catch (const std::exception& e) {
        ShowError(e);
    }
}

void TDemoWindow::PreviewPrint()
{
    QPrintPreviewDialog preview(this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
        try {
            PrintOn(FTree.get(), target);
        } catch (const std::exception& e) {
            ShowError(e);
        }
    });
    preview.exec();
}

void TDemoWindow::ExportPdf()
{
    const QString path = QFileDialog::getSaveFileName(this, "Export PDF", "tree.pdf", "PDF files (*.pdf)");
    if (path.isEmpty())
        return;
    ExportPdfTo(path.toStdString());
}

void TDemoWindow::ExportPdfTo(const std::string& path)
{
    TPrinter pdf;
    pdf.SetOutputFileName(path);
    TPrinter* previous = SetPrinter(&pdf);
    try {
        FTree->Print(kMargin, kMargin, PictureWidthFor(&pdf), "lxTreeView demo");
    } catch (const std::exception& e) {
        ShowError(e);
    }
    SetPrinter(previous);
}
