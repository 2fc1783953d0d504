#pragma once
// The tree view's registration with the form designer: the palette entry, the component
// editor with its five commands, and the editor of every property of type
// TlxTreeViewNodes (the control's Items). Both editors open the item editor.
#include <string>

#include "platform/framework/DesignIntf.h"

class TlxTreeViewNodes;

// Called by the designer once per package load: puts TlxTreeView on the palette page
// "Vornak" and registers the two editors.
void Register();

namespace lxTreeViewRegister {

constexpr const char* PalettePage = "Vornak";

// The component editor of TlxTreeView (the dialog's form class of the same name lives
// outside this namespace).
class TlxTreeViewEditor : public TDefaultEditor {
public:
    using TDefaultEditor::TDefaultEditor;
    // A double click: the first command, "Edit nodes...".
    void Edit() override;
    // 0 edits the nodes in the item editor, 1 loads a tree file, 2 saves one, 3 clears
    // the nodes, 4 shows the about dialog; other indexes do nothing.
    void ExecuteVerb(int Index) override;
    std::string GetVerb(int Index) override;
    int GetVerbCount() override;
};

// Items in the property inspector: an ellipsis button that opens the item editor; the
// value cannot be typed.
class TlxTreeViewNodesProperty : public TClassProperty {
public:
    using TClassProperty::TClassProperty;
    void Edit() override;
    TPropertyAttributes GetAttributes() override;
};

// The directories that the load and save commands last used; empty until then.
const std::string& LastLoadDirectory();
const std::string& LastSaveDirectory();

// The unit's start and end as the package runs them: the command table is made, and
// cleared with the remembered directories.
void InitializeUnit();
void FinalizeUnit();

} // namespace lxTreeViewRegister
