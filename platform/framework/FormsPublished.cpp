// The published properties and events of forms and of the common dialogs.
//
// ClientWidth and ClientHeight are read (a text form may give the client size instead
// of the window's) but never written: Width and Height already say it.
#include "platform/framework/Dialogs.h"
#include "platform/framework/Forms.h"
#include "platform/framework/PublishedControls.h"
#include "platform/framework/TextForm.h"

namespace {

constexpr std::uint64_t AllBits(int Count) { return (std::uint64_t(1) << Count) - 1; }

void RegisterFormIdentifiers()
{
    RegisterIdentifiers({{"poDesigned", poDesigned}, {"poDefault", poDefault}, {"poDefaultPosOnly", poDefaultPosOnly},
                         {"poDefaultSizeOnly", poDefaultSizeOnly}, {"poScreenCenter", poScreenCenter},
                         {"poDesktopCenter", poDesktopCenter}, {"poMainFormCenter", poMainFormCenter},
                         {"poOwnerFormCenter", poOwnerFormCenter}, {"biSystemMenu", biSystemMenu},
                         {"biMinimize", biMinimize}, {"biMaximize", biMaximize}, {"biHelp", biHelp},
                         {"bsSizeable", bsSizeable}, {"bsDialog", bsDialog}, {"bsToolWindow", bsToolWindow},
                         {"bsSizeToolWin", bsSizeToolWin}});
    RegisterIdentifiers({{"ofReadOnly", ofReadOnly}, {"ofOverwritePrompt", ofOverwritePrompt},
                         {"ofHideReadOnly", ofHideReadOnly}, {"ofNoChangeDir", ofNoChangeDir},
                         {"ofPathMustExist", ofPathMustExist}, {"ofFileMustExist", ofFileMustExist},
                         {"ofCreatePrompt", ofCreatePrompt}, {"ofEnableSizing", ofEnableSizing},
                         {"fdEffects", fdEffects}, {"fdForceFontExist", fdForceFontExist},
                         {"fdTrueTypeOnly", fdTrueTypeOnly}, {"fdFixedPitchOnly", fdFixedPitchOnly},
                         {"fdNoStyleSel", fdNoStyleSel}, {"fdNoSizeSel", fdNoSizeSel},
                         {"cdFullOpen", cdFullOpen}, {"cdPreventFullOpen", cdPreventFullOpen},
                         {"cdSolidColor", cdSolidColor}, {"cdAnyColor", cdAnyColor}});
}

void PublishDialogs()
{
    using O = TOpenDialog;
    const auto publishFileDialog = [](TClassPublisher<O>& p) {
        p.String("DefaultExt", &O::DefaultExt, &O::SetDefaultExt)
            .String("FileName", &O::FileName, &O::SetFileName)
            .String("Filter", &O::Filter, &O::SetFilter)
            .Integer("FilterIndex", &O::FilterIndex, &O::SetFilterIndex, 1)
            .String("InitialDir", &O::InitialDir, &O::SetInitialDir)
            .String("Title", &O::Title, &O::SetTitle)
            .Set("Options", &O::Options, &O::SetOptions, TOpenOptions{ofHideReadOnly, ofEnableSizing}.Bits(),
                 AllBits(ofEnableSizing + 1));
    };
    TClassPublisher<O> open("TOpenDialog", "", ComponentFactory<O>());
    publishFileDialog(open);
    TClassPublisher<TSaveDialog>("TSaveDialog", "TOpenDialog", ComponentFactory<TSaveDialog>());
    using F = TFontDialog;
    TClassPublisher<F>("TFontDialog", "", ComponentFactory<F>())
        .Font("Font", &F::Font)
        .Set("Options", &F::Options, &F::SetOptions, TFontDialogOptions{fdEffects}.Bits(), AllBits(fdApplyButton + 1));
    using C = TColorDialog;
    TClassPublisher<C>("TColorDialog", "", ComponentFactory<C>())
        .Color("Color", &C::Color, &C::SetColor, clBlack)
        .Set("Options", &C::Options, &C::SetOptions, 0, AllBits(cdAnyColor + 1));
}

} // namespace

void PublishForms()
{
    RegisterFormIdentifiers();
    using F = TForm;
    const auto never = [](F*) { return false; };
    TClassPublisher<F>("TForm", "", ComponentFactory<F>())
        .Integer("Left", &F::Left, &F::SetLeft, 0)
        .Integer("Top", &F::Top, &F::SetTop, 0)
        .Integer("Width", &F::Width, &F::SetWidth, 640)
        .Integer("Height", &F::Height, &F::SetHeight, 480)
        .Integer("ClientWidth", &F::ClientWidth, &F::SetClientWidth, std::nullopt)
        .StoredWhen(never)
        .Integer("ClientHeight", &F::ClientHeight, &F::SetClientHeight, std::nullopt)
        .StoredWhen(never)
        .Object("Constraints", &F::Constraints)
        .String("Caption", &F::Caption, &F::SetCaption)
        .Color("Color", &F::Color, &F::SetColor, clBtnFace)
        .Boolean("Enabled", &F::Enabled, &F::SetEnabled, true)
        .Font("Font", &F::Font)
        .StoredWhen([](F* f) { return !f->ParentFont(); })
        .Boolean("ShowHint", &F::ShowHint, &F::SetShowHint, false)
        .Set("BorderIcons", &F::BorderIcons, &F::SetBorderIcons, DefaultBorderIcons.Bits(), AllBits(biHelp + 1))
        .Enumeration("BorderStyle", &F::BorderStyle, [](F* f, TFormBorderStyle v) { f->SetBorderStyle(v); },
                     bsSizeable, bsSizeToolWin + 1)
        .Boolean("KeyPreview", &F::KeyPreview, &F::SetKeyPreview, false)
        .Enumeration("Position", &F::Position, &F::SetPosition, poDesigned, poOwnerFormCenter + 1)
        .Boolean("Scaled", &F::Scaled, &F::SetScaled, true)
        .Integer("PixelsPerInch", &F::PixelsPerInch, &F::SetPixelsPerInch, std::nullopt)
        .StoredWhen(never)
        .Event("OnCreate", &F::OnCreate)
        .Event("OnDestroy", &F::OnDestroy)
        .Event("OnShow", &F::OnShow)
        .Event("OnCloseQuery", &F::OnCloseQuery)
        .Event("OnClose", &F::OnClose)
        .Event("OnKeyDown", &F::OnKeyDown)
        .Event("OnKeyPress", &F::OnKeyPress)
        .Event("OnKeyUp", &F::OnKeyUp);
    PublishDialogs();
}
