#pragma once
// The common dialogs (file, font, colour) and message boxes, shown as Qt's own
// dialogs. Both kinds can be answered by a responder instead (tests, scripted runs):
// while one is set, no dialog is shown and the responder's answer counts as the user's.
#include <functional>
#include <memory>
#include <string>

#include "platform/framework/Classes.h"
#include "platform/framework/Graphics.h"

class TCommonDialog : public TComponent {
public:
    explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
    // Shows the dialog modally; true when the user confirmed it.
    virtual bool Execute();

protected:
    // Shows the Qt dialog and takes the user's choice into the properties.
    virtual bool ExecuteQtDialog() = 0;
};

// Fills the dialog's properties as a user would and answers whether it was confirmed.
using TDialogResponder = std::function<bool(TCommonDialog& Dialog)>;
// Returns the responder it replaces; an empty one shows the real dialogs again.
TDialogResponder SetDialogResponder(TDialogResponder Responder);

enum TOpenOption {
    ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, ofAllowMultiSelect,
    ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn,
    ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks,
    ofEnableIncludeNotify, ofEnableSizing
};
using TOpenOptions = TSet<TOpenOption>;

// Filter lists pairs of a description and its patterns, all separated by '|'
// ("Text files|*.txt|Images|*.png;*.jpg"); FilterIndex counts them from 1.
class TOpenDialog : public TCommonDialog {
public:
    explicit TOpenDialog(TComponent* AOwner);
    ~TOpenDialog() override;
    // After a confirmed dialog the names without an extension have DefaultExt added, and
    // Options tells by ofExtensionDifferent whether FileName's extension is another.
    bool Execute() override;

    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& Value) { FFileName = Value; }
    // Every chosen file (one unless ofAllowMultiSelect); FileName is the first.
    TStrings* Files() const { return FFiles.get(); }
    const std::string& Filter() const { return FFilter; }
    void SetFilter(const std::string& Value) { FFilter = Value; }
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int Value) { FFilterIndex = Value; }
    // Without the dot ("txt"); a leading dot is ignored.
    const std::string& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const std::string& Value) { FDefaultExt = Value; }
    const std::string& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const std::string& Value) { FInitialDir = Value; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }
    TOpenOptions Options() const { return FOptions; }
    void SetOptions(TOpenOptions Value) { FOptions = Value; }

protected:
    virtual bool IsSaveDialog() const { return false; }
    bool ExecuteQtDialog() override;

private:
    void TakeChosenFiles();
    std::string FFileName;
    std::unique_ptr<TStringList> FFiles;
    std::string FFilter;
    int FFilterIndex = 1;
    std::string FDefaultExt;
    std::string FInitialDir;
    std::string FTitle;
    TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
};

// Chooses a name to save under; with ofOverwritePrompt the user confirms replacing an
// existing file.
class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;

protected:
    bool IsSaveDialog() const override { return true; }
};

enum TFontDialogOption {
    fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel, fdNoOEMFonts,
    fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp, fdWysiwyg, fdLimitSize,
    fdScalableOnly, fdApplyButton
};
using TFontDialogOptions = TSet<TFontDialogOption>;

// The chosen font goes into Font; underline and strike-out only with fdEffects. The
// font's colour stays as it was (the Qt dialog offers none).
class TFontDialog : public TCommonDialog {
public:
    explicit TFontDialog(TComponent* AOwner);
    ~TFontDialog() override;

    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    TFontDialogOptions Options() const { return FOptions; }
    void SetOptions(TFontDialogOptions Value) { FOptions = Value; }

protected:
    bool ExecuteQtDialog() override;

private:
    std::unique_ptr<TFont> FFont;
    TFontDialogOptions FOptions{fdEffects};
};

enum TColorDialogOption { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
using TColorDialogOptions = TSet<TColorDialogOption>;

class TColorDialog : public TCommonDialog {
public:
    using TCommonDialog::TCommonDialog;
    // A system colour in Color is offered (and left, when cancelled) as its RGB value.
    bool Execute() override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TColorDialogOptions Options() const { return FOptions; }
    void SetOptions(TColorDialogOptions Value) { FOptions = Value; }

protected:
    bool ExecuteQtDialog() override;

private:
    TColor FColor = clBlack;
    TColorDialogOptions FOptions;
};

// Message boxes.
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// Shows Msg with the buttons and answers the modal result of the one pressed (mrOk for
// mbOK and so on). The help button asks the application for HelpCtx and leaves the box
// open. The window title names the type: "Warning", "Error", "Information", "Confirm",
// or the application's name for mtCustom.
int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
void ShowMessage(const std::string& Msg);

// Answers a message box instead of the user, with a modal result.
using TMessageDlgResponder = std::function<int(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons)>;
TMessageDlgResponder SetMessageDlgResponder(TMessageDlgResponder Responder);
