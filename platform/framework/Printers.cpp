#include "platform/framework/Printers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include "platform/win/Gdi.h"

namespace {

TPrinter* CurrentPrinter = nullptr;

// Reserves a fresh name beside the file, so that the rename at the end stays on one file system.
QString ReserveTemporaryName(const QString& target)
{
    const QFileInfo info(target);
    QTemporaryFile reserved(info.absolutePath() + "/." + info.fileName() + ".XXXXXX.part");
    reserved.setAutoRemove(false);
    if (!reserved.open())
        throw EPrinter(Format("Cannot write the file \"%s\"", target.toStdString()));
    return reserved.fileName();
}

void ReplaceFile(const QString& from, const QString& to)
{
    QFile::remove(to);
    if (!QFile::rename(from, to)) {
        QFile::remove(from);
        throw EPrinter(Format("Cannot write the file \"%s\"", to.toStdString()));
    }
}

} // namespace

TPrinter::TPrinter() : FOwned(std::make_unique<QPrinter>(QPrinter::HighResolution)), FPrinter(FOwned.get()) {}

TPrinter::TPrinter(QPrinter* External) : FPrinter(External) {}

TPrinter::~TPrinter()
{
    if (FPrinting)
        Discard();
    if (CurrentPrinter == this)
        CurrentPrinter = nullptr;
}

void TPrinter::RequireIdle(const char* What) const
{
    if (FPrinting)
        throw EPrinter(Format("Printing in progress: cannot %s", What));
}

void TPrinter::RequirePrinting(const char* What) const
{
    if (!FPrinting)
        throw EPrinter(Format("Printer is not currently printing: cannot %s", What));
}

void TPrinter::SetTitle(const std::string& Value)
{
    RequireIdle("change the title");
    FTitle = Value;
}

std::string TPrinter::OutputFileName() const { return FPrinter->outputFileName().toStdString(); }

void TPrinter::SetOutputFileName(const std::string& Value)
{
    RequireIdle("change the output file");
    if (Value.empty()) {
        FPrinter->setOutputFormat(QPrinter::NativeFormat);
        FPrinter->setFullPage(false);
        return;
    }
    FPrinter->setOutputFormat(QPrinter::PdfFormat);
    FPrinter->setOutputFileName(QString::fromStdString(Value));
    FPrinter->setFullPage(true); // a file's page has no unprintable margin
}

std::vector<std::string> TPrinter::Printers() const
{
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        names.push_back(name.toStdString());
    return names;
}

int TPrinter::PrinterIndex() const
{
    const QStringList names = QPrinterInfo::availablePrinterNames();
    const QString current = FPrinter->printerName();
    if (current.isEmpty() || current == QPrinterInfo::defaultPrinterName())
        return -1;
    return int(names.indexOf(current));
}

void TPrinter::SetPrinterIndex(int Value)
{
    RequireIdle("choose another printer");
    const QStringList names = QPrinterInfo::availablePrinterNames();
    if (Value < -1 || Value >= names.size())
        throw EPrinter(Format("Printer index %d out of range (%d printers)", Value, int(names.size())));
    FPrinter->setOutputFormat(QPrinter::NativeFormat);
    FPrinter->setPrinterName(Value < 0 ? QPrinterInfo::defaultPrinterName() : names[Value]);
}

TPrinterOrientation TPrinter::Orientation() const
{
    return FPrinter->pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
}

void TPrinter::SetOrientation(TPrinterOrientation Value)
{
    RequireIdle("change the orientation");
    FPrinter->setPageOrientation(Value == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

int TPrinter::Resolution() const { return FPrinter->resolution(); }

void TPrinter::SetResolution(int DotsPerInch)
{
    RequireIdle("change the resolution");
    if (DotsPerInch <= 0)
        throw EPrinter(Format("Invalid printer resolution: %d dots per inch", DotsPerInch));
    FPrinter->setResolution(DotsPerInch);
}

int TPrinter::PageWidth() const { return FPrinter->width(); }
int TPrinter::PageHeight() const { return FPrinter->height(); }

TCanvas* TPrinter::Canvas() { return &FCanvas; }

void TPrinter::BeginDoc()
{
    RequireIdle("begin another document");
    if (FPrinter->outputFormat() == QPrinter::NativeFormat && !FPrinter->isValid())
        throw EPrinter("There is no printer to print on");
    FAborted = false;
    FPrinting = true;
    FPages.clear();
    StartPage();
}

void TPrinter::NewPage()
{
    RequirePrinting("start a new page");
    FinishPage();
    StartPage();
}

void TPrinter::EndDoc()
{
    RequirePrinting("end the document");
    FinishPage();
    FPrinting = false;
    // The pages go whether or not they reach the printer.
    const TPages pages = std::move(FPages);
    FPages.clear();
    Spool(pages);
}

void TPrinter::Abort()
{
    if (FPrinting)
        Discard();
    FAborted = true;
}

void TPrinter::StartPage()
{
    FPages.push_back(std::make_unique<QPicture>());
    FPagePainter = std::make_unique<QPainter>(FPages.back().get());
    FPagePainter->setRenderHint(QPainter::LosslessImageRendering);
    FContext = std::make_unique<TDeviceContext>();
    FContext->painter = FPagePainter.get();
    FContext->device = FPrinter; // the capabilities are the printer's, not the recording's
    FCanvas.SetHandle(FContext.get());
}

void TPrinter::FinishPage()
{
    FCanvas.SetHandle(nullptr);
    if (FPagePainter)
        FPagePainter->end();
    FPagePainter.reset();
}

void TPrinter::Discard()
{
    FinishPage();
    FPages.clear();
    FPrinting = false;
}

// The recording is in device pixels; a picture replays at its own resolution, so the
// painter undoes the scaling to the printer's.
void TPrinter::Play(QPainter& Painter, const TPages& Pages)
{
    for (size_t i = 0; i < Pages.size(); ++i) {
        if (i > 0)
            FPrinter->newPage();
        const QPicture& page = *Pages[i];
        Painter.save();
        Painter.scale(qreal(page.logicalDpiX()) / FPrinter->logicalDpiX(),
                      qreal(page.logicalDpiY()) / FPrinter->logicalDpiY());
        Painter.drawPicture(0, 0, page);
        Painter.restore();
    }
}

void TPrinter::Spool(const TPages& Pages)
{
    FPrinter->setDocName(QString::fromStdString(FTitle));
    const QString target = FPrinter->outputFormat() == QPrinter::PdfFormat ? FPrinter->outputFileName() : QString();
    const QString partial = target.isEmpty() ? QString() : ReserveTemporaryName(target);
    if (!partial.isEmpty())
        FPrinter->setOutputFileName(partial);
    QPainter painter;
    const bool started = painter.begin(FPrinter);
    if (started) {
        painter.setRenderHint(QPainter::LosslessImageRendering);
        Play(painter, Pages);
        painter.end();
    }
    const bool failed = !started || FPrinter->printerState() == QPrinter::Error;
    if (!partial.isEmpty()) {
        FPrinter->setOutputFileName(target);
        if (failed)
            QFile::remove(partial);
        else
            ReplaceFile(partial, target);
    }
    if (failed)
        throw EPrinter(target.isEmpty() ? std::string("The printer failed to print the document")
                                        : Format("Cannot write the file \"%s\"", target.toStdString()));
}

TPrinter* Printer()
{
    static TPrinter* Default = new TPrinter; // lives as long as the application may print
    return CurrentPrinter ? CurrentPrinter : Default;
}

TPrinter* SetPrinter(TPrinter* NewPrinter)
{
    TPrinter* previous = Printer();
    CurrentPrinter = NewPrinter;
    return previous;
}
