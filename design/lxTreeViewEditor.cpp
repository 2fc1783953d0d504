// The item editor dialog: its layout read from the text form, the image pickers built
// when it is shown, the hint display, and PopupEditor, which copies a control's look and
// nodes in and, on OK, the nodes back.
#include "design/lxTreeViewEditor.h"

#include <mutex>
#include <utility>

#include "design/FormResources.h"
#include "platform/framework/Application.h"
#include "platform/framework/TextForm.h"

namespace {

constexpr const char* LayoutResource = ":/lxTreeView/lxTreeViewEditor.lxfm";
const std::string LayoutName = "The item editor's layout";

} // namespace

TlxTreeViewEditor::TlxTreeViewEditor(TComponent* AOwner) : TForm(AOwner)
{
    PublishItemEditor();
    ReadTextForm(FormResource(LayoutResource, LayoutName), this);
    FindComponents();
}

template <class T>
T* TlxTreeViewEditor::Find(const char* Name, T*& Field)
{
    return Field = FindLayoutComponent<T>(this, Name, LayoutName);
}

void TlxTreeViewEditor::FindComponents()
{
    Find("Tree", Tree);
    Find("GroupBox1", GroupBox1), Find("GroupBox2", GroupBox2), Find("GroupBox3", GroupBox3);
    Find("GroupBox4", GroupBox4), Find("Button1", Button1);
    Find("SpeedButton1", SpeedButton1), Find("SpeedButton2", SpeedButton2), Find("SpeedButton3", SpeedButton3);
    Find("SpeedButton4", SpeedButton4), Find("SpeedButton5", SpeedButton5), Find("SpeedButton6", SpeedButton6);
    Find("SpeedButton7", SpeedButton7), Find("SpeedButton8", SpeedButton8), Find("SpeedButton9", SpeedButton9);
    Find("SpeedButton10", SpeedButton10), Find("OKButton", OKButton), Find("FontButton", FontButton);
    Find("ColorButton", ColorButton), Find("edtTextEdit", edtTextEdit), Find("IntegralEdit", IntegralEdit);
    Find("edtVarName", edtVarName), Find("edtVarValue", edtVarValue), Find("edtVarType", edtVarType);
    Find("ParentFontBox", ParentFontBox), Find("ParentColorBox", ParentColorBox), Find("EnabledBox", EnabledBox);
    Find("CheckTypeLabel", CheckTypeLabel), Find("CheckStyleCombo", CheckStyleCombo);
    Find("ImageBox", ImageBox), Find("SImageBox", SImageBox), Find("StateImageBox", StateImageBox);
    Find("StatusBar", StatusBar), Find("PopupMenu", PopupMenu), Find("InsertNode", InsertNode);
    Find("AddChildItem", AddChildItem), Find("DuplicateNode", DuplicateNode), Find("DeleteNode", DeleteNode);
    Find("Expand", Expand), Find("Collapse", Collapse), Find("SelectAll", SelectAll);
    Find("FontDialog", FontDialog), Find("ColorDialog", ColorDialog);
    Find("SaveDialog1", SaveDialog1), Find("OpenDialog1", OpenDialog1);
}

// ---- The image pickers

TSpeedButton* TlxTreeViewEditor::AddImagePicker(TCustomImageList* List, TScrollBox* Box, int Group,
                                                const std::string& Prefix, void (TlxTreeViewEditor::*Handler)(TObject*))
{
    TSpeedButton* first = nullptr;
    TBitmap glyph;
    for (int i = 0; i < List->Count(); ++i) {
        auto* button = new TSpeedButton(this);
        button->SetBounds(0, 2, 32, 32);
        List->GetBitmap(i, &glyph);
        button->SetGlyph(&glyph);
        button->SetLeft(i * button->Width());
        button->SetGroupIndex(Group);
        button->SetTag(i);
        button->SetName(Prefix + std::to_string(i));
        button->SetAllowAllUp(true);
        button->SetParent(Box);
        button->OnClick = [this, Handler](TObject* Sender) { (this->*Handler)(Sender); };
        if (!first)
            first = button;
    }
    Box->HorzScrollBar()->SetRange(List->Count() * 32);
    return first;
}

void TlxTreeViewEditor::FormShow(TObject*)
{
    if (TCustomImageList* images = Tree->Images(); images && images->Count() > 0) {
        FFirstImageButton = AddImagePicker(images, ImageBox, 1, "I", &TlxTreeViewEditor::UnselectedImageClick);
        FFirstSelectedImageButton =
            AddImagePicker(images, SImageBox, 2, "SI", &TlxTreeViewEditor::SelectedImageClick);
    }
    if (TCustomImageList* states = Tree->StateImages(); states && states->Count() > 0)
        FFirstStateImageButton = AddImagePicker(states, StateImageBox, 3, "STI", &TlxTreeViewEditor::StateImageClick);
    for (TScrollBox* box : {ImageBox, SImageBox, StateImageBox})
        box->SetColor(Tree->Color());
    TreeChange(Tree, Tree->Selection());
    // The dialog is up: the busy cursor set while it was being built has done its job.
    Screen()->SetCursor(crDefault);
}

void TlxTreeViewEditor::DisplayHint(TObject*)
{
    StatusBar->Panels()->Items(0)->SetText(GetLongHint(Application()->Hint()));
}

// ---- PopupEditor

namespace {

void CopyLook(TCustomlxTreeView* From, TCustomlxTreeView* To)
{
    To->SetColor(From->Color());
    To->SetDropSelectedColor(From->DropSelectedColor());
    To->SetSelectedColor(From->SelectedColor());
    To->SetUnfocusedSelectedColor(From->UnfocusedSelectedColor());
    TTreeOptions options = From->Options();
    options.Exclude(roHideSelection);
    options.Include(roAutoEraseBackground);
    options.Include(roMultiSelect);
    options.Include(roRightClickSelect);
    To->SetOptions(options);
    To->SetIndent(From->Indent());
    To->SetItemHeight(From->ItemHeight());
    To->Font()->Assign(From->Font());
    To->SetImages(From->Images());
    To->SetStateImages(From->StateImages());
}

void CopyNodes(TlxTreeViewNodes* From, TlxTreeViewNodes* To)
{
    To->BeginUpdate();
    try {
        To->Assign(From);
    } catch (...) {
        To->EndUpdate();
        throw;
    }
    To->EndUpdate();
}

// The dialog's copy of the control's nodes, with nothing selected. The copied nodes
// arrive with the control's selection, each selected node a change: the panel is not
// filled for each of them (on a large selection that costs more than the copy), but
// once by the caller. The caret alone going to no node would leave a multi-selection.
void CopyNodesIn(TlxTreeViewNodes* From, TlxTreeView* Tree)
{
    const TTVChangedEvent onChange = std::exchange(Tree->OnChange, nullptr);
    try {
        if (From->Count() > 0)
            CopyNodes(From, Tree->Items());
        else
            Tree->Items()->SetCheckType(From->CheckType());
        Tree->SetSelection(nullptr);
        Tree->ClearSelection();
    } catch (...) {
        Tree->OnChange = onChange;
        throw;
    }
    Tree->OnChange = onChange;
}

// The top item of one tree as the node of the same absolute index in the other.
void CopyTopItem(TCustomlxTreeView* From, TCustomlxTreeView* To)
{
    TlxTreeViewNode* top = From->TopItem();
    if (top && top->AbsoluteIndex() < To->Items()->Count())
        To->SetTopItem(To->Items()->Item(top->AbsoluteIndex()));
}

// The busy cursor while the dialog is built, reset however PopupEditor ends.
class TBusyCursor {
public:
    TBusyCursor() { Screen()->SetCursor(crHourGlass); }
    ~TBusyCursor() { Screen()->SetCursor(crDefault); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

// The application's hints go to the dialog's status bar while this lives. It must end
// before the dialog is freed: freeing the dialog's windows moves the hint (the mouse
// leaves them), which must not reach a half-destroyed dialog.
class THintRedirect {
public:
    explicit THintRedirect(TlxTreeViewEditor& Editor) : FPrevious(Application()->OnHint)
    {
        Application()->OnHint = [&Editor](TObject* Sender) { Editor.DisplayHint(Sender); };
    }
    ~THintRedirect() { Application()->OnHint = FPrevious; }
    THintRedirect(const THintRedirect&) = delete;
    THintRedirect& operator=(const THintRedirect&) = delete;

private:
    TNotifyEvent FPrevious;
};

} // namespace

bool PopupEditor(TlxTreeViewNodes* Nodes)
{
    TCustomlxTreeView* control = Nodes->Owner();
    TBusyCursor busy;
    TlxTreeViewEditor editor(nullptr);
    TlxTreeView* tree = editor.Tree;
    CopyLook(control, tree);
    CopyNodesIn(Nodes, tree);
    CopyTopItem(control, tree);
    editor.TreeChange(tree, nullptr);
    const THintRedirect hints(editor); // declared after the editor: ends before it is freed
    if (editor.ShowModal() != mrOk)
        return false;
    CopyNodes(tree->Items(), Nodes);
    CopyTopItem(tree, control);
    return true;
}

// ---- The methods the layout names as handlers

void PublishItemEditor()
{
    static std::once_flag once;
    std::call_once(once, [] {
        using E = TlxTreeViewEditor;
        TClassPublisher<E>("TlxTreeViewEditor", "TForm")
            .Method<TNotifyEvent>("FormShow", &E::FormShow)
            .Method<TKeyPressEvent>("FormKeyPress", &E::FormKeyPress)
            .Method<TTVChangedEvent>("TreeChange", &E::TreeChange)
            .Method<TKeyEvent>("TreeKeyDown", &E::TreeKeyDown)
            .Method<TMouseEvent>("TreeMouseUp", &E::TreeMouseUp)
            .Method<TStartDragEvent>("TreeStartDrag", &E::TreeStartDrag)
            .Method<TDragOverEvent>("TreeDragOver", &E::TreeDragOver)
            .Method<TDragDropEvent>("TreeDragDrop", &E::TreeDragDrop)
            .Method<TNotifyEvent>("SpeedButton8Click", &E::SpeedButton8Click)
            .Method<TNotifyEvent>("SpeedButton1Click", &E::SpeedButton1Click)
            .Method<TNotifyEvent>("AddChildItemClick", &E::AddChildItemClick)
            .Method<TNotifyEvent>("InsertNodeClick", &E::InsertNodeClick)
            .Method<TNotifyEvent>("DuplicateNodeClick", &E::DuplicateNodeClick)
            .Method<TNotifyEvent>("DeleteNodeClick", &E::DeleteNodeClick)
            .Method<TNotifyEvent>("SpeedButton3Click", &E::SpeedButton3Click)
            .Method<TNotifyEvent>("SpeedButton4Click", &E::SpeedButton4Click)
            .Method<TNotifyEvent>("ExpandClick", &E::ExpandClick)
            .Method<TNotifyEvent>("SelectAllClick", &E::SelectAllClick)
            .Method<TNotifyEvent>("PopupMenuPopup", &E::PopupMenuPopup)
            .Method<TNotifyEvent>("SpeedButton6Click", &E::SpeedButton6Click)
            .Method<TNotifyEvent>("SpeedButton7Click", &E::SpeedButton7Click)
            .Method<TNotifyEvent>("OKButtonClick", &E::OKButtonClick)
            .Method<TNotifyEvent>("SpeedButton9Click", &E::SpeedButton9Click)
            .Method<TNotifyEvent>("edtTextEditChange", &E::edtTextEditChange)
            .Method<TNotifyEvent>("edtVarNameChange", &E::edtVarNameChange)
            .Method<TNotifyEvent>("edtVarValueChange", &E::edtVarValueChange)
            .Method<TNotifyEvent>("edtVarTypeChange", &E::edtVarTypeChange)
            .Method<TNotifyEvent>("IntegralEditChange", &E::IntegralEditChange)
            .Method<TNotifyEvent>("edtVarNameEnter", &E::edtVarNameEnter)
            .Method<TNotifyEvent>("IntegralEditEnter", &E::IntegralEditEnter)
            .Method<TNotifyEvent>("ParentFontBoxClick", &E::ParentFontBoxClick)
            .Method<TNotifyEvent>("ParentColorBoxClick", &E::ParentColorBoxClick)
            .Method<TNotifyEvent>("EnabledBoxClick", &E::EnabledBoxClick)
            .Method<TNotifyEvent>("CheckStyleComboChange", &E::CheckStyleComboChange)
            .Method<TNotifyEvent>("FontButtonClick", &E::FontButtonClick)
            .Method<TNotifyEvent>("ColorButtonClick", &E::ColorButtonClick);
    });
}

