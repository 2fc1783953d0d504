#include "design/lxTreeViewRegister.h"

#include <filesystem>
#include <memory>
#include <vector>

#include "control/TreeViewPublished.h"
#include "control/lxTreeViewControl.h"
#include "design/TreeFiles.h"
#include "design/lxTreeAbout.h"
#include "design/lxTreeViewEditor.h"
#include "platform/framework/Application.h"
#include "platform/framework/Dialogs.h"

namespace lxTreeViewRegister {

namespace {

std::vector<std::string> VerbTable;
std::string LoadDirectory;
std::string SaveDirectory;

const std::vector<std::string>& Verbs()
{
    if (VerbTable.empty())
        VerbTable = {"Edit nodes...", "Load from file...", "Save to file...", "Clear nodes", "About..."};
    return VerbTable;
}

std::string DirectoryOf(const std::string& FileName) { return std::filesystem::path(FileName).parent_path().string(); }

TlxTreeView* TreeOf(TComponent* Component)
{
    auto* tree = dynamic_cast<TlxTreeView*>(Component);
    if (!tree)
        throw EInvalidOperation("The tree view's editor was given a component that is not a tree view");
    return tree;
}

void TellModified(IDesigner* Designer)
{
    if (Designer)
        Designer->Modified();
}

void EditNodes(TlxTreeView* Tree, IDesigner* Designer)
{
    if (PopupEditor(Tree->Items()))
        TellModified(Designer);
}

void LoadFromFile(TlxTreeView* Tree, IDesigner* Designer)
{
    const auto dialog = std::make_unique<TOpenDialog>(Application());
    dialog->SetFilter("lxTreeView files (*.lxt)|*.lxt|All Files (*.*)|*.*");
    dialog->SetDefaultExt("lxt");
    dialog->SetInitialDir(LoadDirectory);
    dialog->SetOptions(TOpenOptions{ofHideReadOnly, ofPathMustExist, ofFileMustExist});
    if (dialog->Execute()) {
        LoadTreeFileKeepingTree(Tree, dialog->FileName()); // an error keeps the directory
        TellModified(Designer);
    }
    LoadDirectory = DirectoryOf(dialog->FileName());
}

void SaveToFile(TlxTreeView* Tree)
{
    const auto dialog = std::make_unique<TSaveDialog>(Application());
    dialog->SetFilter("lxTreeView files (*.lxt)|*.lxt|Text files (*.txt)|*.txt|All Files (*.*)|*.*");
    dialog->SetDefaultExt("txt");
    dialog->SetInitialDir(SaveDirectory);
    dialog->SetOptions(TOpenOptions{ofOverwritePrompt, ofPathMustExist});
    if (dialog->Execute())
        Tree->SaveToFile(dialog->FileName(), true); // binary, whichever filter was chosen
    SaveDirectory = DirectoryOf(dialog->FileName());
}

void ClearNodes(TlxTreeView* Tree, IDesigner* Designer)
{
    Tree->Items()->Clear();
    TellModified(Designer);
}

} // namespace

void TlxTreeViewEditor::Edit() { ExecuteVerb(0); }

void TlxTreeViewEditor::ExecuteVerb(int Index)
{
    switch (Index) {
    case 0: EditNodes(TreeOf(Component()), Designer()); break;
    case 1: LoadFromFile(TreeOf(Component()), Designer()); break;
    case 2: SaveToFile(TreeOf(Component())); break;
    case 3: ClearNodes(TreeOf(Component()), Designer()); break;
    case 4: ShowAboutBox(); break;
    default: break;
    }
}

std::string TlxTreeViewEditor::GetVerb(int Index)
{
    const auto& verbs = Verbs();
    return Index >= 0 && Index < int(verbs.size()) ? verbs[size_t(Index)] : std::string();
}

int TlxTreeViewEditor::GetVerbCount() { return int(Verbs().size()); }

void TlxTreeViewNodesProperty::Edit()
{
    if (PopupEditor(reinterpret_cast<TlxTreeViewNodes*>(GetOrdValue())))
        Modified();
}

TPropertyAttributes TlxTreeViewNodesProperty::GetAttributes() { return TPropertyAttributes{paDialog, paReadOnly}; }

const std::string& LastLoadDirectory() { return LoadDirectory; }
const std::string& LastSaveDirectory() { return SaveDirectory; }

void InitializeUnit() { Verbs(); }

void FinalizeUnit()
{
    VerbTable.clear();
    LoadDirectory.clear();
    SaveDirectory.clear();
}

} // namespace lxTreeViewRegister

void Register()
{
    PublishlxTreeView();
    TComponentClass treeView = FindPublishedClass("TlxTreeView");
    RegisterComponents(lxTreeViewRegister::PalettePage, {treeView});
    RegisterPropertyEditor(typeid(TlxTreeViewNodes), nullptr, "",
                           [](IDesigner* Designer, TPersistent* Instance, const TPublishedProperty* Property) {
                               return std::make_unique<lxTreeViewRegister::TlxTreeViewNodesProperty>(Designer, Instance, Property);
                           });
    RegisterComponentEditor(treeView, [](TComponent* Component, IDesigner* Designer) {
        return std::make_unique<lxTreeViewRegister::TlxTreeViewEditor>(Component, Designer);
    });
}
