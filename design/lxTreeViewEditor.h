#pragma once
// The item editor: the modal dialog in which a developer builds the nodes of a tree view.
// It works on a tree of its own, a copy of the control's look and nodes, and copies the
// nodes back only when the developer presses OK.
//
// The dialog's layout (every component with its name, kind, bounds, caption, hint,
// anchors and handler) is the text form resources/lxTreeViewEditor.lxfm, read through
// the framework's form reader when the dialog is made. The reader creates the framework's
// own controls by class name and binds their events to the methods this class publishes,
// which a Qt Designer .ui file could not do: it would make Qt widgets, not the
// framework's controls with their events and hints.
#include <cstdint>
#include <optional>
#include <string>

#include "control/lxTreeViewControl.h"
#include "platform/framework/Buttons.h"
#include "platform/framework/ComCtrls.h"
#include "platform/framework/Dialogs.h"
#include "platform/framework/Forms.h"
#include "platform/framework/Menus.h"
#include "platform/framework/ScrollBox.h"
#include "platform/framework/StdCtrls.h"

// The node properties that the multi-node routines address by number.
enum TNodePropertySelector {
    npParentFont = 0, npParentColor = 1, npMultiHeight = 2, npImageIndex = 3, npSelectedIndex = 4,
    npStateIndex = 5, npFont = 6, npColor = 7, npCheckType = 8, npEnabled = 9, npVarType = 10,
    npVarName = 11, npVarValue = 12, npText = 13
};

// True when every selected node, from the first selected through GetNextSelected, has the
// first one's value of the property; true for the font, the colour and unknown selectors.
bool SelectedHaveSameValue(TlxTreeViewNodes* Nodes, int Selector);
// Assigns VarName (11), VarValue (12) or Text (13) of every selected node; other selectors
// do nothing.
void SetSelectedString(TlxTreeViewNodes* Nodes, int Selector, const std::string& Value);
// Calls the setter of property 0 to 10 of every selected node with Value: Booleans as
// Value != 0, the check type as its ordinal, the font (6) as the address of a TFont.
// Other selectors do nothing.
void SetSelectedValue(TlxTreeViewNodes* Nodes, int Selector, std::intptr_t Value);

// Opens the dialog for the control that owns Nodes; true when the developer pressed OK
// and the nodes were copied back.
bool PopupEditor(TlxTreeViewNodes* Nodes);

// Makes the dialog's handlers known to the form reader (done when the dialog is first made).
void PublishItemEditor();

class TlxTreeViewEditor : public TForm {
public:
    // Reads the dialog's layout; EReadError when it cannot be read.
    explicit TlxTreeViewEditor(TComponent* AOwner);

    // Copies the whole subtree below Source under Dest.
    void CopyChildren(TlxTreeViewNode* Source, TlxTreeViewNode* Dest);

    // Form events.
    void FormShow(TObject* Sender);
    void FormKeyPress(TObject* Sender, char& Key);
    void DisplayHint(TObject* Sender);
    // The tree.
    void TreeChange(TObject* Sender, TlxTreeViewNode* Node);
    void TreeKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void TreeMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void TreeStartDrag(TObject* Sender, TDragObject*& DragObject);
    void TreeDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept);
    void TreeDragDrop(TObject* Sender, TObject* Source, int X, int Y);
    // Node commands.
    void SpeedButton8Click(TObject* Sender);
    void SpeedButton1Click(TObject* Sender);
    void AddChildItemClick(TObject* Sender);
    void InsertNodeClick(TObject* Sender);
    void DuplicateNodeClick(TObject* Sender);
    void DeleteNodeClick(TObject* Sender);
    void SpeedButton3Click(TObject* Sender);
    void SpeedButton4Click(TObject* Sender);
    void ExpandClick(TObject* Sender);
    void SelectAllClick(TObject* Sender);
    void PopupMenuPopup(TObject* Sender);
    void SpeedButton6Click(TObject* Sender);
    void SpeedButton7Click(TObject* Sender);
    void OKButtonClick(TObject* Sender);
    void SpeedButton9Click(TObject* Sender);
    // The property panel.
    void edtTextEditChange(TObject* Sender);
    void edtVarNameChange(TObject* Sender);
    void edtVarValueChange(TObject* Sender);
    void edtVarTypeChange(TObject* Sender);
    void IntegralEditChange(TObject* Sender);
    void edtVarNameEnter(TObject* Sender);
    void IntegralEditEnter(TObject* Sender);
    void ParentFontBoxClick(TObject* Sender);
    void ParentColorBoxClick(TObject* Sender);
    void EnabledBoxClick(TObject* Sender);
    void CheckStyleComboChange(TObject* Sender);
    void FontButtonClick(TObject* Sender);
    void ColorButtonClick(TObject* Sender);
    void UnselectedImageClick(TObject* Sender);
    void SelectedImageClick(TObject* Sender);
    void StateImageClick(TObject* Sender);

    // The components of the layout, found by name once it is read.
    TlxTreeView* Tree;
    TGroupBox* GroupBox1;
    TGroupBox* GroupBox2;
    TGroupBox* GroupBox3;
    TGroupBox* GroupBox4;
    TButton* Button1;
    TSpeedButton* SpeedButton1;
    TSpeedButton* SpeedButton2;
    TSpeedButton* SpeedButton3;
    TSpeedButton* SpeedButton4;
    TSpeedButton* SpeedButton5;
    TSpeedButton* SpeedButton6;
    TSpeedButton* SpeedButton7;
    TSpeedButton* SpeedButton8;
    TSpeedButton* SpeedButton9;
    TSpeedButton* SpeedButton10;
    TSpeedButton* OKButton;
    TSpeedButton* FontButton;
    TSpeedButton* ColorButton;
    TEdit* edtTextEdit;
    TEdit* IntegralEdit;
    TEdit* edtVarName;
    TEdit* edtVarValue;
    TEdit* edtVarType;
    TCheckBox* ParentFontBox;
    TCheckBox* ParentColorBox;
    TCheckBox* EnabledBox;
    TLabel* CheckTypeLabel;
    TComboBox* CheckStyleCombo;
    TScrollBox* ImageBox;
    TScrollBox* SImageBox;
    TScrollBox* StateImageBox;
    TStatusBar* StatusBar;
    TPopupMenu* PopupMenu;
    TMenuItem* InsertNode;
    TMenuItem* AddChildItem;
    TMenuItem* DuplicateNode;
    TMenuItem* DeleteNode;
    TMenuItem* Expand;
    TMenuItem* Collapse;
    TMenuItem* SelectAll;
    TFontDialog* FontDialog;
    TColorDialog* ColorDialog;
    TSaveDialog* SaveDialog1;
    TOpenDialog* OpenDialog1;

private:
    void FindComponents();
    template <class T>
    T* Find(const char* Name, T*& Field);
    // FormShow: one picker's buttons, one per image of List; returns the first.
    TSpeedButton* AddImagePicker(TCustomImageList* List, TScrollBox* Box, int Group, const std::string& Prefix,
                                 void (TlxTreeViewEditor::*Handler)(TObject*));
    // TreeChange's parts.
    void ShowPickedImage(TlxTreeViewNode* First, int Selector, const std::string& Prefix, TSpeedButton* FirstButton);
    void ShowSelection(TlxTreeViewNode* First);
    void ShowNoSelection();
    void EnableNodeControls(bool Enable);
    void ShowSharedString(TEdit* Edit, int Selector, const std::string& Value);
    void ShowSharedBox(TCheckBox* Box, int Selector, bool Value);
    // The picker buttons' clicks: the image index to give every selected node.
    void ApplyPickedImage(TObject* Sender, int Selector);
    // The integer typed into Edit, or nothing for an empty edit.
    static std::optional<int> TypedInteger(TEdit* Edit);
    // Makes Node the only selected node, focused, and puts the caret into the text edit.
    void SelectNewNode(TlxTreeViewNode* Node);

    TSpeedButton* FFirstSelectedImageButton = nullptr;
    TSpeedButton* FFirstImageButton = nullptr;
    TSpeedButton* FFirstStateImageButton = nullptr;
    bool FUpdating = false;
};
