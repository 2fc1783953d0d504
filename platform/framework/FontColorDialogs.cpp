// The font and colour dialogs.
#include "platform/framework/Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>

namespace {

QFontDialog::FontDialogOptions QtFontDialogOptions(TFontDialogOptions Options)
{
    QFontDialog::FontDialogOptions qtOptions;
    if (Options.Contains(fdFixedPitchOnly))
        qtOptions |= QFontDialog::MonospacedFonts;
    if (Options.Contains(fdScalableOnly) || Options.Contains(fdTrueTypeOnly))
        qtOptions |= QFontDialog::ScalableFonts;
    return qtOptions;
}

} // namespace

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFont(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog() = default;

bool TFontDialog::ExecuteQtDialog()
{
    QFontDialog dialog(FFont->ToQFont(), QApplication::activeWindow());
    dialog.setOptions(QtFontDialogOptions(FOptions));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    QFont chosen = dialog.selectedFont();
    if (!FOptions.Contains(fdEffects)) {
        // The effects were not the user's to choose: the font keeps its own.
        chosen.setUnderline(FFont->Style().Contains(fsUnderline));
        chosen.setStrikeOut(FFont->Style().Contains(fsStrikeOut));
    }
    FFont->AssignQFont(chosen);
    return true;
}

bool TColorDialog::Execute()
{
    FColor = TColor(ColorToRGB(FColor));
    return TCommonDialog::Execute();
}

bool TColorDialog::ExecuteQtDialog()
{
    QColorDialog dialog(TColorToQColor(FColor), QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    FColor = QColorToTColor(dialog.selectedColor());
    return true;
}
