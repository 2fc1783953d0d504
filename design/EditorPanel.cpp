// The item editor's property panel: filled from the selection by TreeChange, and every
// change in it applied to all selected nodes (never while TreeChange fills it).
#include "design/lxTreeViewEditor.h"

namespace {

bool HoldsImages(TCustomImageList* List) { return List && List->Count() > 0; }

int ImageIndexOf(TlxTreeViewNode* Node, int Selector)
{
    if (Selector == npImageIndex)
        return Node->ImageIndex();
    if (Selector == npSelectedIndex)
        return Node->SelectedIndex();
    return Node->StateIndex();
}

} // namespace

void TlxTreeViewEditor::TreeChange(TObject* Sender, TlxTreeViewNode* Node)
{
    TFlagScope updating(FUpdating);
    TlxTreeViewNodes* items = Tree->Items();
    TlxTreeViewNode* first = items->GetFirstSelected();
    StatusBar->Panels()->Items(1)->SetText(Format("Number of the selected node(s):  %d", items->GetSelectedCount()));
    if (HoldsImages(Tree->Images())) {
        ShowPickedImage(first, npImageIndex, "I", FFirstImageButton);
        ShowPickedImage(first, npSelectedIndex, "SI", FFirstSelectedImageButton);
    }
    if (HoldsImages(Tree->StateImages()))
        ShowPickedImage(first, npStateIndex, "STI", FFirstStateImageButton);
    if (first)
        ShowSelection(first);
    else
        ShowNoSelection();
}

// The picker button of the shared index goes down; without one, every button is up.
void TlxTreeViewEditor::ShowPickedImage(TlxTreeViewNode* First, int Selector, const std::string& Prefix,
                                        TSpeedButton* FirstButton)
{
    TSpeedButton* shared = nullptr;
    if (First && SelectedHaveSameValue(Tree->Items(), Selector))
        shared = dynamic_cast<TSpeedButton*>(FindComponent(Prefix + std::to_string(ImageIndexOf(First, Selector))));
    if (shared) {
        shared->SetDown(true);
    } else if (FirstButton) {
        FirstButton->SetDown(true);
        FirstButton->SetDown(false);
    }
}

void TlxTreeViewEditor::ShowSelection(TlxTreeViewNode* First)
{
    TlxTreeViewNodes* items = Tree->Items();
    EnableNodeControls(true);
    ShowSharedBox(ParentFontBox, npParentFont, First->ParentFont());
    ShowSharedBox(ParentColorBox, npParentColor, First->ParentColor());
    ShowSharedBox(EnabledBox, npEnabled, First->Enabled());
    CheckTypeLabel->SetCaption("Children Check Type");
    CheckStyleCombo->SetItemIndex(SelectedHaveSameValue(items, npCheckType) ? int(First->CheckType()) : -1);
    ShowSharedString(IntegralEdit, npMultiHeight, IntToStr(First->MultiHeight()));
    ShowSharedString(edtVarName, npVarName, First->VarName());
    ShowSharedString(edtVarValue, npVarValue, First->VarValue());
    ShowSharedString(edtVarType, npVarType, IntToStr(First->VarType()));
    ShowSharedString(edtTextEdit, npText, First->Text());
}

void TlxTreeViewEditor::ShowNoSelection()
{
    EnableNodeControls(false);
    CheckTypeLabel->SetCaption("Root Check Type");
    CheckStyleCombo->SetItemIndex(int(Tree->Items()->CheckType()));
    for (TEdit* edit : {IntegralEdit, edtVarName, edtVarValue, edtVarType, edtTextEdit})
        edit->SetText("");
}

void TlxTreeViewEditor::EnableNodeControls(bool Enable)
{
    for (TWinControl* control : std::initializer_list<TWinControl*>{
             SpeedButton2, SpeedButton3, SpeedButton4, SpeedButton5, SpeedButton10, FontButton, ParentFontBox,
             ColorButton, ParentColorBox, EnabledBox})
        control->SetEnabled(Enable);
    for (TEdit* edit : {IntegralEdit, edtVarName, edtVarValue, edtVarType, edtTextEdit}) {
        edit->SetEnabled(Enable);
        edit->SetColor(Enable ? clWindow : clBtnFace);
    }
}

void TlxTreeViewEditor::ShowSharedString(TEdit* Edit, int Selector, const std::string& Value)
{
    Edit->SetText(SelectedHaveSameValue(Tree->Items(), Selector) ? Value : "");
}

void TlxTreeViewEditor::ShowSharedBox(TCheckBox* Box, int Selector, bool Value)
{
    if (SelectedHaveSameValue(Tree->Items(), Selector))
        Box->SetState(Value ? cbChecked : cbUnchecked);
    else
        Box->SetState(cbGrayed);
}

// ---- Changes made in the panel

void TlxTreeViewEditor::edtTextEditChange(TObject*)
{
    if (!FUpdating)
        SetSelectedString(Tree->Items(), npText, edtTextEdit->Text());
}

void TlxTreeViewEditor::edtVarNameChange(TObject*)
{
    if (!FUpdating)
        SetSelectedString(Tree->Items(), npVarName, edtVarName->Text());
}

void TlxTreeViewEditor::edtVarValueChange(TObject*)
{
    if (!FUpdating)
        SetSelectedString(Tree->Items(), npVarValue, edtVarValue->Text());
}

std::optional<int> TlxTreeViewEditor::TypedInteger(TEdit* Edit)
{
    if (Edit->Text().empty())
        return std::nullopt;
    return StrToInt(Edit->Text()); // EConvertError for text that is no integer
}

void TlxTreeViewEditor::edtVarTypeChange(TObject*)
{
    if (FUpdating)
        return;
    if (const std::optional<int> value = TypedInteger(edtVarType))
        SetSelectedValue(Tree->Items(), npVarType, *value);
}

void TlxTreeViewEditor::IntegralEditChange(TObject*)
{
    if (FUpdating)
        return;
    const std::optional<int> value = TypedInteger(IntegralEdit);
    if (!value)
        return;
    if (*value < 1)
        Abort();
    SetSelectedValue(Tree->Items(), npMultiHeight, *value);
}

void TlxTreeViewEditor::edtVarNameEnter(TObject* Sender)
{
    if (auto* edit = dynamic_cast<TEdit*>(Sender))
        edit->SelectAll();
}

void TlxTreeViewEditor::IntegralEditEnter(TObject*) { IntegralEdit->SelectAll(); }

void TlxTreeViewEditor::ParentFontBoxClick(TObject*)
{
    if (!FUpdating)
        SetSelectedValue(Tree->Items(), npParentFont, ParentFontBox->Checked());
}

void TlxTreeViewEditor::ParentColorBoxClick(TObject*)
{
    if (!FUpdating)
        SetSelectedValue(Tree->Items(), npParentColor, ParentColorBox->Checked());
}

void TlxTreeViewEditor::EnabledBoxClick(TObject*)
{
    if (!FUpdating)
        SetSelectedValue(Tree->Items(), npEnabled, EnabledBox->Checked());
}

void TlxTreeViewEditor::CheckStyleComboChange(TObject*)
{
    const int index = CheckStyleCombo->ItemIndex();
    if (FUpdating || index < 0)
        return;
    if (Tree->Items()->GetSelectedCount() == 0)
        Tree->Items()->SetCheckType(TCheckType(index));
    else
        SetSelectedValue(Tree->Items(), npCheckType, index);
}

void TlxTreeViewEditor::FontButtonClick(TObject*)
{
    TlxTreeViewNode* first = Tree->Items()->GetFirstSelected();
    if (FUpdating || !first)
        return;
    FontDialog->Font()->Assign(first->Font());
    if (!FontDialog->Execute())
        return;
    SetSelectedValue(Tree->Items(), npFont, reinterpret_cast<std::intptr_t>(FontDialog->Font()));
    ParentFontBox->SetChecked(false);
}

void TlxTreeViewEditor::ColorButtonClick(TObject*)
{
    TlxTreeViewNode* selection = Tree->Selection();
    if (FUpdating || !selection)
        return;
    ColorDialog->SetColor(selection->ParentColor() ? Tree->Color() : selection->Color());
    if (!ColorDialog->Execute())
        return;
    SetSelectedValue(Tree->Items(), npColor, ColorDialog->Color());
    ParentColorBox->SetChecked(false);
}

void TlxTreeViewEditor::ApplyPickedImage(TObject* Sender, int Selector)
{
    auto* button = dynamic_cast<TSpeedButton*>(Sender);
    if (FUpdating || !Tree->Selection() || !button)
        return;
    SetSelectedValue(Tree->Items(), Selector, button->Down() ? button->Tag() : -1);
}

void TlxTreeViewEditor::UnselectedImageClick(TObject* Sender) { ApplyPickedImage(Sender, npImageIndex); }

void TlxTreeViewEditor::SelectedImageClick(TObject* Sender)
{
    ApplyPickedImage(Sender, npSelectedIndex);
    Tree->Repaint();
}

void TlxTreeViewEditor::StateImageClick(TObject* Sender) { ApplyPickedImage(Sender, npStateIndex); }
