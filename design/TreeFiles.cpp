#include "design/TreeFiles.h"

#include "control/lxTreeViewControl.h"

void LoadTreeFileKeepingTree(TCustomlxTreeView* Tree, const std::string& FileName)
{
    TMemoryStream kept;
    Tree->SaveToStream(&kept, true);
    try {
        Tree->LoadFromFile(FileName);
    } catch (...) {
        kept.SetPosition(0);
        Tree->LoadFromStream(&kept);
        throw;
    }
}
