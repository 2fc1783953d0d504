#pragma once
// The printer: a document of pages with a title, drawn on a canvas in the printer's
// device pixels and sent to a system printer (through CUPS) or written to a PDF file.
//
// Pages are recorded while the document is open and go to the printer at EndDoc, so
// that Abort can withdraw the whole job: an aborted document reaches no printer and
// leaves no file behind. A PDF file is written under a temporary name and takes its
// own name only when it is complete.
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/Graphics.h"
#include "platform/framework/SysUtils.h"

class QPainter;
class QPicture;
class QPrinter;

LX_DECLARE_EXCEPTION(EPrinter, Exception);

enum TPrinterOrientation { poPortrait, poLandscape };

class TPrinter : public TObject {
public:
    TPrinter();                            // the system's default printer
    explicit TPrinter(QPrinter* External); // draws on a printer that stays its owner's
    ~TPrinter() override;

    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value);
    // Empty: the selected system printer; else the path of a PDF file to write.
    std::string OutputFileName() const;
    void SetOutputFileName(const std::string& Value);
    // The system's printers by name, and the selected one (-1: the default printer).
    std::vector<std::string> Printers() const;
    int PrinterIndex() const;
    void SetPrinterIndex(int Value);
    TPrinterOrientation Orientation() const;
    void SetOrientation(TPrinterOrientation Value);
    // Dots per inch of the canvas (the same in x and y).
    int Resolution() const;
    void SetResolution(int DotsPerInch);

    void BeginDoc();
    void NewPage();
    // Sends the pages to the printer or the file; raises EPrinter when that fails.
    void EndDoc();
    void Abort();
    bool Printing() const { return FPrinting; }
    bool Aborted() const { return FAborted; }
    int PageNumber() const { return int(FPages.size()); }
    // The printable area in device pixels; a PDF file's page has no margins.
    int PageWidth() const;
    int PageHeight() const;
    // Valid between BeginDoc and EndDoc; its context reports the printer's capabilities.
    TCanvas* Canvas();

    QPrinter* QtPrinter() const { return FPrinter; }

private:
    void RequireIdle(const char* What) const;
    void RequirePrinting(const char* What) const;
    void StartPage();
    void FinishPage();
    void Discard();
    using TPages = std::vector<std::unique_ptr<QPicture>>;
    void Play(QPainter& Painter, const TPages& Pages);
    void Spool(const TPages& Pages);

    std::unique_ptr<QPrinter> FOwned;
    QPrinter* FPrinter;
    std::string FTitle;
    bool FPrinting = false;
    bool FAborted = false;
    TPages FPages;
    std::unique_ptr<QPainter> FPagePainter;
    std::unique_ptr<TDeviceContext> FContext;
    TCanvas FCanvas;
};

// The application's printer, made on first use.
TPrinter* Printer();
// Replaces the application's printer (null: back to the default one); returns the
// previous one, which stays its owner's.
TPrinter* SetPrinter(TPrinter* NewPrinter);
